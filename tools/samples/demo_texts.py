# Texts of the chapters that the demo series server offers beyond the shipped
# ones (UTF-8; make_demo_series.py encodes them as Windows-1250).  The same
# keys and markup as lesson_texts.py.

CHAPTERS = []


def chapter(**kw):
    CHAPTERS.append(kw)


# ---------------------------------------------------------------- lekce 17
chapter(
    name="0017", id=1225, date="7. 9. 2009",
    title="Moduly a balíčky", keywords="modul, balíček, import",
    heading=["<H2>Lekce 17 - Moduly a balíčky</H2>"],
    perex="Vítejte ve druhé řadě seriálu! Naše programy už mají stovky řádků a v jednom souboru se "
          "v nich začíná špatně hledat. Dnes si ukážeme, jak program rozdělit do modulů a moduly "
          "seskupit do balíčků.",
    pictures=[
        ("obr1.png", "console", dict(title="Příkazový řádek", lines=[
            "C:\\kalkulacka> dir /b",
            "hlavni.py",
            "vypocty.py",
            "C:\\kalkulacka> python hlavni.py",
            "2 + 3 = 5",
            "obsah kruhu o poloměru 2 = 12.566370614359172"])),
        ("obr2.gif", "flow", dict(nodes=[("oval", "import vypocty"), ("if", "modul už načten?"),
                                         ("box", "najdi vypocty.py"), ("box", "proveď kód modulu"),
                                         ("oval", "jméno vypocty")],
                                  sides=[(1, "použij hotový")])),
    ],
    body="""
    = Co je modul

    Takzvaný <b>modul</b> je obyčejný soubor s příponou <code>.py</code>. Všechno, co v něm definujeme
    &ndash; funkce, třídy i proměnné &ndash; můžeme použít v jiném souboru, když modul nejprve
    <i>importujeme</i>. S moduly jsme se přitom už potkali: <code>import tkinter</code> ve čtrnácté
    lekci nenačetl nic jiného než modul, který je součástí Pythonu.

    Vytvořte si složku <code>kalkulacka</code> a v ní soubor <code>vypocty.py</code>:

    ```
    \"\"\"Pomocné výpočty pro naši kalkulačku.\"\"\"

    PI = 3.141592653589793

    def secti(a, b):
        return a + b

    def obsah_kruhu(r):
        return PI * r * r
    ```

    Vedle něj uložte soubor <code>hlavni.py</code>, který modul použije:

    ```
    import vypocty

    print("2 + 3 =", vypocty.secti(2, 3))
    print("obsah kruhu o poloměru 2 =", vypocty.obsah_kruhu(2))
    ```

    [[obr1.png|Program rozdělený do dvou souborů]]

    = Jak import funguje

    Při prvním příkazu <code>import vypocty</code> Python soubor najde, provede všechny jeho
    příkazy a z výsledku vytvoří objekt modulu. Ten si zapamatuje, takže další import téhož modulu
    už nic znovu neprovádí. Funkce z modulu pak voláme s tečkou: <code>vypocty.secti(2, 3)</code>.

    [[obr2.gif|Co se děje při importu]]

    Když se nám nechce psát jméno modulu stále dokola, můžeme si potřebná jména přinést přímo:

    ```
    from vypocty import secti, obsah_kruhu
    import vypocty as v

    print(secti(1, 2))
    print(v.PI)
    ```

    ! POZOR: Zápis <code>from vypocty import *</code> sice načte všechna jména najednou, ale
    v delším programu pak nepoznáte, odkud které jméno pochází. Raději ho nepoužívejte.

    = Když se modul spustí sám

    Do modulu často chceme přidat pár řádků, které ho vyzkoušejí. Nechceme ale, aby se spouštěly při
    každém importu. Pomůže proměnná <code>__name__</code>: ve spuštěném souboru má hodnotu
    <code>"__main__"</code>, v importovaném modulu jeho jméno.

    ```
    if __name__ == "__main__":
        print(secti(20, 22))
    ```

    = Balíčky

    Modulů přibývá a brzy je budeme chtít seskupit. <b>Balíček</b> je složka s moduly, ve které leží
    soubor <code>__init__.py</code> (klidně prázdný). Moduly z balíčku importujeme s tečkou:

    ```
    kalkulacka/
        hlavni.py
        matika/
            __init__.py
            zakladni.py
            geometrie.py

    from matika import geometrie
    print(geometrie.obsah_kruhu(1))
    ```

    Ve standardní knihovně Pythonu najdete stovky hotových modulů: <code>math</code> pro
    matematiku, <code>random</code> pro náhodná čísla, <code>datetime</code> pro práci s datem
    nebo <code>sqlite3</code> pro databáze, na který se podíváme příště.
    """,
)

# ---------------------------------------------------------------- lekce 18
chapter(
    name="0018-01", id=1226, date="14. 9. 2009",
    title="Databáze SQLite", keywords="databáze, sqlite3, tabulka, SQL",
    heading=["<H2>Lekce 18 - Databáze SQLite</H2>"],
    perex="Textové soubory ze třinácté lekce stačí na seznam úkolů, ale ne na evidenci knihovny "
          "s tisíci knihami. Na taková data jsou databáze. Python jednu malou má přímo v sobě.",
    pictures=[
        ("obr1.png", "table", dict(header=["id", "nazev", "autor", "rok"], rows=[
            [1, "Babička", "Božena Němcová", 1855],
            [2, "R.U.R.", "Karel Čapek", 1920],
            [3, "Saturnin", "Zdeněk Jirotka", 1942]])),
    ],
    body="""
    = Databáze v jednom souboru

    Modul <code>sqlite3</code> je součástí Pythonu a nic dalšího nepotřebuje. Celá databáze je
    jediný soubor na disku, který si můžete zkopírovat nebo poslat kamarádovi. Data v ní leží
    v <b>tabulkách</b>: každý řádek je jeden záznam, každý sloupec jedna jeho vlastnost.

    [[obr1.png|Tabulka knih]]

    = Vytvoříme tabulku

    S databází mluvíme jazykem <b>SQL</b>. Jeho příkazy píšeme do řetězců a předáváme je metodě
    <code>execute</code>:

    ```
    import sqlite3

    spojeni = sqlite3.connect("knihovna.db")
    spojeni.execute(\"\"\"CREATE TABLE IF NOT EXISTS knihy (
                           id INTEGER PRIMARY KEY,
                           nazev TEXT NOT NULL,
                           autor TEXT,
                           rok INTEGER)\"\"\")
    spojeni.execute("INSERT INTO knihy (nazev, autor, rok) VALUES ('Babička', 'Božena Němcová', 1855)")
    spojeni.commit()
    spojeni.close()
    ```

    Příkaz <code>CREATE TABLE</code> tabulku založí, <code>INSERT</code> do ní vloží řádek. Sloupec
    <code>id</code> si databáze čísluje sama. Nezapomeňte na <code>commit</code>: teprve on změny
    opravdu zapíše do souboru.

    ! TIP: Databázový soubor si můžete prohlédnout programem DB Browser for SQLite nebo
    v interaktivním režimu Pythonu. Vyzkoušejte oboje.

    = Co dál

    Příště se naučíme data z tabulky číst, třídit a hledat v nich &ndash; a také to, proč se do
    příkazů SQL nesmí nikdy vkládat text, který napsal uživatel.
    """,
)

chapter(
    name="0018-02", id=1227, date="14. 9. 2009",
    title="Dotazy do databáze", keywords="databáze, SELECT, parametry",
    heading=["<H2>Lekce 18 - Dotazy do databáze</H2>"],
    perex="Data v databázi máme, teď je z ní dostaneme ven. Příkaz SELECT umí vybírat, třídit "
          "i počítat, a parametry dotazu nás ochrání před nepříjemným překvapením.",
    pictures=[
        ("obr1.png", "console", dict(title="Python", lines=[
            ">>> for radek in spojeni.execute(\"SELECT nazev, rok FROM knihy ORDER BY rok\"):",
            "...     print(radek)",
            "...",
            "('Babička', 1855)",
            "('R.U.R.', 1920)",
            "('Saturnin', 1942)"])),
        ("obr2.png", "window", dict(title="Hledání knih", rows=[
            ("label", "Autor:"), ("entry", "Čapek"), ("button", "Hledat"),
            ("list", ["R.U.R. (1920)", "Válka s mloky (1936)", "Bílá nemoc (1937)"])])),
    ],
    body="""
    = Příkaz SELECT

    Dotaz <code>SELECT</code> vrátí řádky tabulky. Za slovem SELECT vyjmenujeme sloupce, za FROM
    tabulku, a můžeme přidat podmínku <code>WHERE</code> a řazení <code>ORDER BY</code>. Metoda
    <code>execute</code> vrátí kurzor, který projdeme cyklem for jako seznam:

    [[obr1.png|Knihy seřazené podle roku vydání]]

    = Parametry dotazu

    Chceme-li hledat knihy autora, kterého zadá uživatel, svádí to k tomuto zápisu:

    ```
    autor = input("Autor: ")
    dotaz = "SELECT nazev FROM knihy WHERE autor LIKE '%" + autor + "%'"   # ŠPATNĚ!
    ```

    Stačí, aby uživatel napsal apostrof, a dotaz skončí chybou &ndash; nebo udělá něco, co jsme
    vůbec nechtěli. Správně se hodnoty předávají jako <b>parametry</b>: v dotazu je zastoupí
    otazník a databáze je vloží sama a bezpečně:

    ```
    kurzor = spojeni.execute("SELECT nazev, rok FROM knihy WHERE autor LIKE ?",
                             ("%" + autor + "%",))
    for nazev, rok in kurzor:
        print(nazev, rok)
    ```

    ! POZOR: Parametry používejte vždycky, i když hodnotu „znáte“. Zvyk je nejlepší ochrana.

    = Okno pro hledání

    Spojíme databázi s okny ze čtrnácté lekce. Do formuláře dáme pole pro autora, tlačítko
    a seznam výsledků:

    [[obr2.png|Hledání knih podle autora]]

    ```
    def hledej():
        seznam.delete(0, tkinter.END)
        for nazev, rok in spojeni.execute(
                "SELECT nazev, rok FROM knihy WHERE autor LIKE ? ORDER BY rok",
                ("%" + pole.get() + "%",)):
            seznam.insert(tkinter.END, "{0} ({1})".format(nazev, rok))
    ```
    """,
)

# ---------------------------------------------------------------- lekce 19
chapter(
    name="0019", id=1228, date="21. 9. 2009",
    title="Povídáme si po síti", keywords="síť, socket, server, klient",
    heading=["<H2>Lekce 19 - Povídáme si po síti</H2>"],
    perex="Dva programy na dvou počítačích si mohou posílat zprávy. Napíšeme si jednoduchý server "
          "a klienta, kteří spolu mluví přes síť, a zjistíme, co se přitom po drátech vlastně posílá.",
    pictures=[
        ("obr1.gif", "flow", dict(nodes=[("box", "socket()"), ("box", "bind() a listen()"),
                                         ("box", "accept(): čekej na klienta"), ("io", "recv() a send()"),
                                         ("oval", "close()")])),
        ("obr2.png", "console", dict(title="Dvě okna příkazového řádku", lines=[
            "server> python server.py",
            "Čekám na 127.0.0.1:5000 ...",
            "Připojen ('127.0.0.1', 50412)",
            "klient> python klient.py",
            "Ahoj, tady server. Napsal jsi: dobrý den"])),
    ],
    body="""
    = Adresa a port

    Každý počítač v síti má svou <b>adresu</b>, například 192.168.1.10. Na jednom počítači ale běží
    mnoho programů, a proto má každé spojení ještě <b>port</b> &ndash; číslo, podle kterého
    operační systém pozná, kterému programu zpráva patří. Webový server obvykle poslouchá na portu
    80. Pro zkoušky použijeme adresu 127.0.0.1, která vždy znamená „tento počítač“.

    = Server

    Server si otevře <b>socket</b>, přihlásí se k portu a čeká, až se někdo připojí:

    [[obr1.gif|Život serveru]]

    ```
    import socket

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 5000))
    server.listen(1)
    print("Čekám na 127.0.0.1:5000 ...")
    spojeni, adresa = server.accept()
    print("Připojen", adresa)
    zprava = spojeni.recv(1024).decode("utf-8")
    spojeni.send(("Ahoj, tady server. Napsal jsi: " + zprava).encode("utf-8"))
    spojeni.close()
    server.close()
    ```

    = Klient

    Klient je jednodušší: připojí se, pošle zprávu a přečte odpověď.

    ```
    import socket

    klient = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    klient.connect(("127.0.0.1", 5000))
    klient.send("dobrý den".encode("utf-8"))
    print(klient.recv(1024).decode("utf-8"))
    klient.close()
    ```

    [[obr2.png|Server a klient v akci]]

    Všimněte si metod <code>encode</code> a <code>decode</code>. Po síti se neposílají řetězce, ale
    <b>bajty</b>, a obě strany se musí dohodnout, jak text na bajty převádějí.

    ! VYZKOUŠEJTE: Spusťte server na jednom počítači a klienta na druhém. Místo 127.0.0.1 použijte
    adresu počítače se serverem a nezapomeňte povolit port ve firewallu.
    """,
)

# ---------------------------------------------------------------- lekce 20
chapter(
    name="0020", id=1229, date="28. 9. 2009",
    title="První hra: had", keywords="hra, tkinter, canvas, had",
    heading=["<H2>Lekce 20 - První hra: had</H2>"],
    perex="Na závěr druhé řady si zahrajeme. Naprogramujeme známou hru, ve které had leze po hřišti, "
          "žere jablka a s každým soustem je delší. Stačí nám k tomu tkinter a pár desítek řádků.",
    pictures=[
        ("obr1.png", "cells", dict(title="Had jako seznam políček", cells=[
            ("hlava", "(5, 3)"), ("", "(4, 3)"), ("", "(3, 3)"), ("ocas", "(3, 4)")],
            indexes=[0, 1, 2, 3])),
        ("obr2.gif", "flow", dict(nodes=[("box", "posuň hlavu"), ("if", "náraz?"),
                                         ("if", "jablko?"), ("box", "uřízni ocas"),
                                         ("oval", "za 150 ms znovu")],
                                  sides=[(1, "konec hry"), (2, "nové jablko")], swap=True)),
    ],
    body="""
    = Hřiště a had

    Hřiště rozdělíme na políčka a hada uložíme jako seznam souřadnic jeho článků. První prvek
    seznamu je hlava. Když se had posune, přidáme na začátek novou hlavu a poslední článek
    odebereme &ndash; pokud zrovna nesnědl jablko, to pak ocas necháme a had vyroste.

    [[obr1.png|Had uložený v seznamu]]

    ```
    import random
    import tkinter

    POLE = 20
    SIRKA, VYSKA = 30, 20

    had = [(5, 3), (4, 3), (3, 3)]
    smer = (1, 0)
    jablko = (10, 10)

    okno = tkinter.Tk()
    okno.title("Had")
    platno = tkinter.Canvas(okno, width=SIRKA * POLE, height=VYSKA * POLE, bg="black")
    platno.pack()
    ```

    = Herní smyčka

    Hra běží v krocích. Metoda <code>after</code> zavolá naši funkci za zadaný počet milisekund,
    a funkce si na konci naplánuje další krok. Okno přitom dál reaguje na klávesy.

    [[obr2.gif|Jeden krok hry]]

    ```
    def krok():
        global jablko
        hlava = (had[0][0] + smer[0], had[0][1] + smer[1])
        if hlava in had or not (0 <= hlava[0] < SIRKA and 0 <= hlava[1] < VYSKA):
            platno.create_text(300, 200, text="Konec hry", fill="white", font=("Arial", 24))
            return
        had.insert(0, hlava)
        if hlava == jablko:
            jablko = (random.randrange(SIRKA), random.randrange(VYSKA))
        else:
            had.pop()
        kresli()
        okno.after(150, krok)
    ```

    = Ovládání

    Šipky mění směr. Obrátit se rovnou do protisměru ale nesmíme, to by had narazil sám do sebe:

    ```
    def klavesa(udalost):
        global smer
        novy = {"Left": (-1, 0), "Right": (1, 0), "Up": (0, -1), "Down": (0, 1)}.get(udalost.keysym)
        if novy and (novy[0] != -smer[0] or novy[1] != -smer[1]):
            smer = novy

    okno.bind("<Key>", klavesa)
    krok()
    okno.mainloop()
    ```

    Funkci <code>kresli</code>, která smaže plátno a nakreslí hada a jablko obdélníky metodou
    <code>create_rectangle</code>, zkuste napsat sami. Řešení i nápady na vylepšení (skóre,
    zrychlování, zdi) čekají ve <a href="http://forum.kodovna.example/python/">fóru čtenářů</a>.

    ! DĚKUJEME: Touto lekcí druhá řada seriálu končí. Díky všem, kdo s námi vydrželi až sem!
    """,
)
