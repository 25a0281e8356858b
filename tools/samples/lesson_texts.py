# Texts of the sample chapters (UTF-8; make_samples.py encodes them as
# Windows-1250).  One dict per chapter file, in file name order.
#
# Keys: name (file name without .htm), id (article number on the magazine's
# site), date, title (page <title>), keywords, heading (the raw heading lines,
# written exactly as they stand in the file), perex, body (markup described in
# make_samples.render_body), pictures [(file, kind, parameters)], and the
# optional flags body_tag, head_script, counter, ad, section_heading, lf.

PRINT_BODY_PLAIN = "<BODY onload=window.print()>"
PRINT_BODY_QUOTED = '<body onLoad="window.print()">'

CHAPTERS = []


def chapter(**kw):
    CHAPTERS.append(kw)


# ---------------------------------------------------------------- lekce 1
chapter(
    name="0001", id=1201, date="5. 1. 2009",
    title="Úvod do programování", keywords="úvod, algoritmus, program",
    heading=["<H2>Lekce 1 - Úvod do programování</H2>"],
    body_tag=PRINT_BODY_QUOTED, head_script=True, counter=True,
    perex="Vítejte v novém seriálu, ve kterém se společně naučíme programovat. Nepotřebujete žádné "
          "předchozí znalosti, stačí počítač, trocha trpělivosti a chuť zkoušet nové věci. V první "
          "lekci si vysvětlíme, co to vlastně program je a proč jsme si pro začátek vybrali jazyk Python.",
    pictures=[
        ("obr1.png", "flow", dict(nodes=[("oval", "Start"), ("io", "Vstup: dvě čísla"),
                                         ("box", "Sečti čísla"), ("io", "Výstup: součet"),
                                         ("oval", "Konec")])),
    ],
    body="""
    = Co je to program?

    Počítač je neuvěřitelně rychlý, ale zároveň neuvěřitelně hloupý pomocník. Udělá přesně to,
    co mu řekneme &ndash; nic víc a nic méně. <b>Program</b> je proto jen posloupnost příkazů,
    které počítači popisují, co má krok za krokem udělat. Když takový postup popíšeme obecně,
    bez ohledu na konkrétní programovací jazyk, mluvíme o <b>algoritmu</b>.

    S algoritmy se přitom setkáváte denně. Recept na bramborák je algoritmus: nastrouhej brambory,
    přidej vejce, mouku a česnek, osol, smaž po obou stranách dozlatova. Návod ke skříni z obchodního
    domu je také algoritmus, i když se mu občas nedá porozumět. Programátor dělá v podstatě totéž
    &ndash; jen musí být mnohem přesnější, protože počítač si chybějící krok nedomyslí.

    [[obr1.png|Vývojový diagram jednoduchého programu]]

    Na obrázku vidíte takzvaný <b>vývojový diagram</b>. Ovály označují začátek a konec, kosodélníky
    vstup a výstup dat a obdélníky zpracování. Podobné diagramy budeme v seriálu používat vždy, když
    bude potřeba ukázat, kudy program „běží“.

    = Proč právě Python?

    Programovacích jazyků existují stovky. Některé jsou určené pro malé řídicí jednotky v pračkách,
    jiné pro obrovské bankovní systémy. Pro začátečníka je důležité, aby se mohl soustředit na
    samotné programování, a ne na zápis plný složených závorek a středníků. Python má několik
    vlastností, které se nám budou hodit:

    * Zápis programu je krátký a dobře čitelný, připomíná anglický text.
    * Program nemusíte překládat, spustíte ho hned po napsání.
    * Python je zdarma a běží ve Windows, v Linuxu i na Macintoshi.
    * Hodí se pro malé skripty i pro velké aplikace s okny a formuláři.

    Abyste měli představu, jak takový program vypadá, tady je úplně první ukázka. Zatím jí nemusíte
    rozumět do detailu, všechno si postupně vysvětlíme:

    ```
    # můj první program
    jmeno = input("Jak se jmenuješ? ")
    print("Ahoj, " + jmeno + "! Vítej v seriálu.")
    ```

    Program se zeptá na vaše jméno a pak vás pozdraví. Řádek začínající znakem `#` je
    <b>komentář</b> &ndash; Python ho úplně ignoruje a slouží jen nám, lidem, jako poznámka.

    = Jak budeme postupovat

    Každá lekce seriálu vysvětlí jedno téma a na konci najdete několik úkolů na procvičení. Důrazně
    doporučujeme úkoly opravdu vyřešit: programování se nedá naučit čtením, stejně jako se nedá
    naučit plavat z knížky. Řešení úkolů zveřejníme vždy v následující lekci.

    Postupně projdeme proměnné, podmínky, cykly, funkce, práci se seznamy a řetězci, čtení a zápis
    souborů, objekty a nakonec i programy s okny a formuláři, které reagují na události od myši
    a klávesnice. Pokud se někde zaseknete, zeptejte se v <a href="http://forum.bajtovna.example/python/">diskusním
    fóru</a>, kde vám rádi pomůžeme.

    ! DŮLEŽITÉ UPOZORNĚNÍ: Nebojte se chyb! Každý programátor, i ten nejzkušenější, píše programy
    s chybami. Rozdíl je jen v tom, že zkušený programátor ví, jak je rychle najít a opravit.

    = Úkoly na procvičení

    * Napište algoritmus (obyčejnými větami) pro přípravu čaje. Kolik kroků jste potřebovali?
    * Nakreslete vývojový diagram pro výpočet průměru tří čísel.
    * Zamyslete se, kde všude kolem vás „běží“ nějaký program.

    V <a href="0002-01.htm">příští lekci</a> si Python nainstalujeme a spustíme první skutečný program.
    """,
)

# ---------------------------------------------------------------- lekce 2
chapter(
    name="0002-01", id=1202, date="12. 1. 2009",
    title="Instalace Pythonu", keywords="instalace, prostředí",
    heading=["<H2>Lekce 2 - Instalace Pythonu</H2>"],
    perex="Než začneme psát programy, musíme si připravit pracovní prostředí. Ukážeme si, kde Python "
          "získat, jak ho nainstalovat a jak ověřit, že všechno funguje.",
    pictures=[
        ("obr1.png", "window", dict(title="Instalace Pythonu 3.1", rows=[
            ("label", "Vyberte cílový adresář:"), ("entry", "C:\\Python31"),
            ("check", "Přidat Python do proměnné PATH"),
            ("check", "Nainstalovat dokumentaci"), ("button", "Další >")])),
    ],
    body="""
    = Kde Python získat

    Python je volně šiřitelný a instalační balíček si můžete stáhnout z webu
    <a href="http://www.pythonovna.example/stahnout/">http://www.pythonovna.example/stahnout/</a>. Pro
    Windows vyberte instalátor s příponou <code>.exe</code>, který má asi deset megabajtů. Pokud máte
    pomalejší připojení, najdete Python také na CD, které jsme přiložili k únorovému číslu časopisu.
    Uživatelé Linuxu mají situaci jednodušší: Python bývá součástí distribuce, takže ho stačí
    doinstalovat z balíčků.

    = Průběh instalace

    Po spuštění instalátoru se objeví průvodce, který vás provede několika kroky. Ve většině z nich
    stačí ponechat výchozí nastavení a stisknout tlačítko <b>Další</b>. Pozornost věnujte jen
    obrazovce s výběrem adresáře a doplňků:

    [[obr1.png|Výběr adresáře a doplňků v instalačním průvodci]]

    Doporučujeme instalovat do krátké cesty bez mezer, například <code>C:\\Python31</code>. Zaškrtněte
    také volbu, která přidá Python do systémové proměnné PATH &ndash; díky ní půjde Python spustit
    z libovolného adresáře příkazového řádku. Dokumentace zabere jen pár megabajtů a rozhodně se vyplatí.

    = Ověření instalace

    Po dokončení instalace otevřete příkazový řádek (nabídka <i>Start &rarr; Spustit</i>, napište
    <code>cmd</code> a stiskněte Enter) a zadejte:

    ```
    C:\\> python -V
    Python 3.1.1
    ```

    Pokud se vypíše číslo verze, je vše v pořádku. Jestliže systém ohlásí, že příkaz <code>python</code>
    nezná, nebyla nejspíš nastavena proměnná PATH. Můžete ji doplnit ručně ve vlastnostech systému,
    nebo Python spouštět celou cestou, tedy <code>C:\\Python31\\python.exe</code>.

    ! TIP: Kromě samotného interpretu se nainstaluje i jednoduchý editor IDLE. Najdete ho v nabídce
    Start ve skupině Python. Pro první pokusy je naprosto dostačující a umí barevně zvýrazňovat
    syntaxi, což začátečníkům hodně pomáhá při hledání překlepů.

    = Jaký editor zvolit

    Programy v Pythonu jsou obyčejné textové soubory s příponou <code>.py</code>. Teoreticky je tedy
    můžete psát i v Poznámkovém bloku, ale pohodlnější je editor, který číslu&shy;je řádky, zvýrazňuje
    syntaxi a hlídá odsazení. Kromě zmíněného IDLE můžeme doporučit třeba editor Kapradí, který je
    ke stažení na <a href="http://www.kapradi-editor.example/">http://www.kapradi-editor.example/</a>
    a umí pracovat i s českými znaky v kódování Windows-1250.

    Ať už si vyberete cokoli, nastavte si v editoru, aby místo tabulátorů vkládal mezery, a to čtyři
    na jednu úroveň odsazení. Proč je to tak důležité, pochopíte hned v <a href="0002-02.htm">další
    části</a>, kde napíšeme první program.
    """,
)

chapter(
    name="0002-02", id=1203, date="12. 1. 2009",
    title="První program", keywords="print, první program, spuštění",
    heading=["<h2>Lekce 2 - První program</h2>"],
    body_tag=PRINT_BODY_PLAIN,
    perex="Python máme nainstalovaný, je tedy nejvyšší čas napsat první program. Zjistíme, jak program "
          "uložit, spustit a co dělat, když se objeví chybové hlášení.",
    pictures=[
        ("obr1.jpg", "console", dict(title="Příkazový řádek", lines=[
            "C:\\Programy> python ahoj.py", "Ahoj, světe!", "Tohle je můj první program.",
            "", "C:\\Programy>"])),
    ],
    body="""
    = Ahoj, světe!

    Už od dob prvních učebnic programování je zvykem, že první program pozdraví svět. Nebudeme
    porušovat tradici. Otevřete editor, napište do něj následující dva řádky a uložte soubor pod
    jménem <code>ahoj.py</code> do adresáře <code>C:\\Programy</code>:

    ```
    print("Ahoj, světe!")
    print("Tohle je můj první program.")
    ```

    Příkaz <code>print</code> vypíše na obrazovku to, co mu předáme v kulatých závorkách. Text je
    uzavřený v uvozovkách, aby Python poznal, kde začíná a kde končí. Takovému textu říkáme
    <b>řetězec</b> a podrobně se mu budeme věnovat v samostatné lekci.

    = Spuštění programu

    Program spustíme z příkazového řádku tak, že přejdeme do adresáře se souborem a zavoláme
    interpret Pythonu se jménem souboru jako parametrem:

    [[obr1.jpg|Spuštění prvního programu v příkazovém řádku]]

    Pokud používáte editor IDLE, stačí stisknout klávesu F5 a výstup programu se zobrazí v okně
    interpretu. Ve Windows můžete na soubor <code>.py</code> také dvakrát kliknout, okno s výstupem
    se ale po skončení programu ihned zavře, takže toho moc neuvidíte.

    = Když se něco pokazí

    Zkuste schválně v programu udělat chybu &ndash; třeba vynechat koncovou uvozovku:

    ```
    print("Ahoj, světe!)
    ```

    Python program vůbec nespustí a ohlásí chybu:

    ```
      File "ahoj.py", line 1
        print("Ahoj, světe!)
                           ^
    SyntaxError: EOL while scanning string literal
    ```

    Hlášení vypadá hrozivě, ale obsahuje všechno potřebné: jméno souboru, číslo řádku, místo chyby
    vyznačené stříškou a popis problému. <b>SyntaxError</b> znamená, že zápis programu neodpovídá
    pravidlům jazyka. Naučte se chybová hlášení číst od konce &ndash; poslední řádek obvykle řekne
    nejvíc.

    ! POZOR NA ČEŠTINU: Python čte programy v kódování UTF-8. Pokud váš editor ukládá soubory
    v kódování Windows-1250 a v programu používáte česká písmena s diakritikou (ěščřžýáíé), napište
    na první řádek souboru komentář <code># -*- coding: cp1250 -*-</code>. Python pak ví, v jakém
    kódování je soubor uložen, a nebude si stěžovat na neznámé znaky.

    = Komentáře

    Už v úvodní lekci jsme zmínili, že text za znakem <code>#</code> je komentář. Komentáře pište
    hlavně tam, kde není na první pohled jasné, <i>proč</i> program něco dělá. Komentář typu
    „vypíše text“ u příkazu <code>print</code> nikomu nepomůže, zato poznámka „zákazník chce
    výsledek vždy na dvě desetinná místa“ ušetří vašemu kolegovi (nebo vám za půl roku) spoustu
    času.

    ```
    # -*- coding: cp1250 -*-
    # Program pozdraví uživatele a vypíše, jaký je den.
    print("Dobrý den!")
    print("Dnes je krásný den na programování.")   # komentář může být i za příkazem
    ```

    V <a href="0002-03.htm">poslední části druhé lekce</a> si ukážeme interaktivní režim, ve kterém
    se dá s Pythonem „povídat“ řádek po řádku.
    """,
)

chapter(
    name="0002-03", id=1204, date="19. 1. 2009",
    title="Interaktivní režim", keywords="interpret, interaktivní režim, kalkulačka",
    heading=["<H2>Lekce 2 - Interaktivní režim</H2>"],
    perex="Python nemusí vždy spouštět celý soubor. V interaktivním režimu zadáváte příkazy jeden po "
          "druhém a výsledek vidíte okamžitě &ndash; ideální prostředí pro zkoušení a učení.",
    pictures=[
        ("obr1.gif", "console", dict(title="Python - interaktivní režim", lines=[
            "Python 3.1.1 (r311, Aug 17 2009)", "Type \"help\" for more information.",
            ">>> 2 + 3", "5", ">>> 7 * 6", "42", ">>> print(\"Ahoj\")", "Ahoj", ">>>"])),
    ],
    body="""
    = Spuštění interaktivního režimu

    Když v příkazovém řádku napíšete jen <code>python</code> bez jména souboru, spustí se
    <b>interaktivní režim</b>. Poznáte ho podle výzvy <code>&gt;&gt;&gt;</code>, která čeká na váš
    příkaz. Každý zadaný řádek Python hned provede a vypíše jeho výsledek:

    [[obr1.gif|Interaktivní režim jako kalkulačka]]

    Všimněte si, že u výrazu <code>2 + 3</code> jsme nemuseli psát <code>print</code>. Interaktivní
    režim totiž výsledek každého výrazu vypisuje sám. V programu uloženém v souboru by se ale výsledek
    „ztratil“, tam je <code>print</code> nutný.

    = Python jako kalkulačka

    Interaktivní režim je skvělá kalkulačka. Sčítá (<code>+</code>), odčítá (<code>-</code>),
    násobí (<code>*</code>), dělí (<code>/</code>) a umí i mocniny (<code>**</code>). Závorky fungují
    tak, jak jste zvyklí ze školy:

    ```
    >>> (12 + 8) * 3
    60
    >>> 2 ** 10
    1024
    >>> 17 / 5
    3.4
    >>> 17 // 5
    3
    ```

    Pozor na dělení! Operátor <code>/</code> vrací vždy desetinné číslo, i když se čísla dělí beze
    zbytku, takže <code>10 / 2</code> dá <code>5.0</code>. Chcete-li jen celou část podílu, použijte
    dvě lomítka. Čísly a operátory se podrobně zabývá
    <a href="0004-01.htm">čtvrtá lekce</a>.

    = Nápověda přímo v interpretu

    Zapomněli jste, co dělá některý příkaz? Interpret má vestavěnou nápovědu. Napište
    <code>help()</code> a dostanete se do jejího prostředí, odkud ji ukončíte slovem <code>quit</code>.
    Nápovědu k určité funkci získáte přímo, například <code>help(len)</code>.

    ```
    >>> help(len)
    Help on built-in function len in module builtins:

    len(...)
        len(object) -> integer

        Return the number of items of a sequence or mapping.
    ```

    Nápověda je bohužel jen v angličtině. Český překlad části dokumentace ale připravují dobrovolníci
    na serveru <a href="http://preklady.pythonovna.example/">http://preklady.pythonovna.example/</a>.

    = Ukončení interpretu

    Interaktivní režim opustíte klávesovou zkratkou <b>Ctrl+Z</b> a Enter (ve Windows), případně
    <b>Ctrl+D</b> (v Linuxu). Funguje také příkaz <code>raise SystemExit</code>, ten si ale pamatovat
    nemusíte.

    ! ZKUSTE SI: Spočítejte v interpretu, kolik sekund má jeden rok. Kolik je to minut? A kolik dní
    má 1&nbsp;000&nbsp;000 sekund?

    = Úkoly na procvičení

    * Napište program, který vypíše vaše jméno, adresu a telefon, každý údaj na samostatný řádek.
    * Vypište pomocí jediného příkazu <code>print</code> text, který obsahuje uvozovky. (Nápověda:
      řetězec lze uzavřít i do apostrofů.)
    * Zjistěte v interpretu, co udělá výraz <code>"ha" * 5</code>.

    Příště se podíváme na <a href="0003.htm">proměnné</a> &ndash; místa v paměti, kam si program
    ukládá data.
    """,
)

# ---------------------------------------------------------------- lekce 3
chapter(
    name="0003", id=1205, date="26. 1. 2009",
    title="Proměnné", keywords="proměnné, přiřazení, input",
    heading=["<H2>Lekce 3 -proměnné</H2>"],
    section_heading=True,
    perex="Program, který jen vypisuje pevně daný text, nás brzy omrzí. Aby program mohl s daty "
          "pracovat, potřebuje si je někam uložit. K tomu slouží proměnné.",
    pictures=[
        ("obr1.png", "cells", dict(title="Proměnné v paměti", cells=[
            ("vek", "15"), ("jmeno", "\"Eva\""), ("cena", "12.5"), ("pocet", "3")])),
    ],
    body="""
    = Co je proměnná

    Proměnnou si můžete představit jako krabičku s nálepkou. Na nálepce je <b>jméno</b> proměnné,
    uvnitř krabičky je <b>hodnota</b>. Do krabičky můžeme hodnotu vložit, podívat se, co v ní je,
    nebo obsah vyměnit za jiný. V Pythonu proměnnou vytvoříme jednoduše tím, že do ní přiřadíme
    hodnotu:

    ```
    vek = 15
    jmeno = "Eva"
    cena = 12.5
    pocet = 3
    ```

    Znaménko <code>=</code> zde neznamená rovnost, jak jste zvyklí z matematiky, ale
    <b>přiřazení</b>: vezmi hodnotu napravo a ulož ji do proměnné nalevo. Proto je v Pythonu zcela
    v pořádku napsat <code>pocet = pocet + 1</code>, což by v matematice nedávalo smysl.

    [[obr1.png|Čtyři proměnné a jejich hodnoty]]

    = Pravidla pro jména proměnných

    Jméno proměnné se může skládat z písmen anglické abecedy, číslic a podtržítka, nesmí ale začínat
    číslicí. Velká a malá písmena se rozlišují, takže <code>Vek</code> a <code>vek</code> jsou dvě
    různé proměnné. Česká písmena s diakritikou ve jménech proměnných použít nelze &ndash; píšeme
    tedy <code>delka</code>, ne <code>délka</code>.

    * Správně: <code>pocet_zaku</code>, <code>x1</code>, <code>_pomocna</code>, <code>cenaSDph</code>
    * Špatně: <code>1x</code>, <code>pocet-zaku</code>, <code>cena s dph</code>, <code>příjmení</code>

    Snažte se volit jména, která vystihují obsah proměnné. Proměnná <code>a</code> může znamenat
    cokoli, zatímco u proměnné <code>obsah_obdelniku</code> je hned jasné, k čemu slouží. Jména
    nesmí být ani takzvaná <b>klíčová slova</b> jazyka, jako jsou <code>if</code>, <code>for</code>,
    <code>while</code> nebo <code>print</code>.

    = Práce s proměnnými

    S proměnnými můžeme počítat stejně jako s čísly. Python při výpočtu za jméno proměnné dosadí její
    aktuální hodnotu:

    ```
    sirka = 8
    vyska = 5
    obsah = sirka * vyska
    print("Obsah obdélníku je", obsah)
    sirka = 10
    print("Po změně šířky:", sirka * vyska)
    ```

    Všimněte si, že příkaz <code>print</code> může vypsat několik hodnot oddělených čárkou; mezi ně
    automaticky vloží mezeru. Druhý výpis ukazuje, že proměnná <code>obsah</code> se po změně šířky
    sama nepřepočítá &ndash; obsahuje stále hodnotu 40, kterou jsme do ní uložili dříve.

    = Načtení hodnoty od uživatele

    Skutečně užitečný program potřebuje data od uživatele. Funkce <code>input</code> vypíše zadaný
    text, počká, až uživatel něco napíše a stiskne Enter, a napsaný text vrátí. My ho obvykle rovnou
    uložíme do proměnné:

    ```
    jmeno = input("Jak se jmenuješ? ")
    mesto = input("Odkud jsi? ")
    print("Ahoj " + jmeno + " z města " + mesto + "!")
    ```

    Funkce <code>input</code> vrací vždy text (řetězec), i když uživatel napíše číslo. Pokud s ním
    chceme počítat, musíme ho převést funkcí <code>int</code> pro celá čísla nebo <code>float</code>
    pro desetinná čísla:

    ```
    rok = int(input("Ve kterém roce ses narodil? "))
    print("Letos ti bude", 2009 - rok, "let.")
    ```

    ! ČASTÁ CHYBA: Zapomenete-li na převod, Python ohlásí chybu <code>TypeError</code>, protože
    neumí odečíst text od čísla. Text „1989“ a číslo 1989 jsou pro počítač dvě úplně odlišné věci.

    = Výměna hodnot dvou proměnných

    Klasická úloha: máme proměnné <code>a</code> a <code>b</code> a chceme jejich hodnoty prohodit.
    V mnoha jazycích potřebujeme pomocnou proměnnou, Python však umí přiřadit více hodnot najednou:

    ```
    a = 1
    b = 2
    a, b = b, a      # teď je a == 2 a b == 1
    ```

    = Úkoly na procvičení

    * Napište program, který se zeptá na délku strany čtverce a vypíše jeho obvod a obsah.
    * Program pro převod stupňů Celsia na Fahrenheity: F = C &times; 9 / 5 + 32.
    * Prohoďte hodnoty tří proměnných „dokola“: a dostane hodnotu b, b hodnotu c a c hodnotu a.

    Řešení úkolů najdete na začátku <a href="0004-01.htm">příští lekce</a>. Předchozí lekci si
    můžete připomenout <a href="0002-03.htm">zde</a>.
    """,
)

# ---------------------------------------------------------------- lekce 4
chapter(
    name="0004-01", id=1206, date="2. 2. 2009",
    title="Čísla a operátory", keywords="čísla, operátory, int, float",
    heading=["<H2>Lekce 4 - Čísla a operátory</H2>"],
    perex="V dnešní lekci se podíváme podrobněji na to, jaké druhy čísel Python zná a co všechno s nimi "
          "umí. Dozvíte se, proč 0,1 + 0,2 není přesně 0,3 a k čemu je dobrý zbytek po dělení.",
    pictures=[
        ("obr1.gif", "table", dict(header=["Operátor", "Význam", "Příklad", "Výsledek"], rows=[
            ["+", "sčítání", "7 + 2", "9"], ["-", "odčítání", "7 - 2", "5"],
            ["*", "násobení", "7 * 2", "14"], ["/", "dělení", "7 / 2", "3.5"],
            ["//", "celočíselné dělení", "7 // 2", "3"], ["%", "zbytek po dělení", "7 % 2", "1"],
            ["**", "mocnina", "7 ** 2", "49"]])),
    ],
    body="""
    = Řešení úkolů z minulé lekce

    Nejprve slíbené řešení. Převod teplot mohl vypadat třeba takto:

    ```
    c = float(input("Teplota ve stupních Celsia: "))
    f = c * 9 / 5 + 32
    print(c, "°C je", f, "°F")
    ```

    Prohození tří proměnných „dokola“ zvládneme jediným řádkem: <code>a, b, c = b, c, a</code>.

    = Celá a desetinná čísla

    Python rozlišuje dva základní číselné typy. <b>Celá čísla</b> (typ <code>int</code>) zapisujeme
    bez desetinné tečky: <code>42</code>, <code>-7</code>, <code>0</code>. <b>Desetinná čísla</b>
    (typ <code>float</code>, z anglického <i>floating point</i>, tedy pohyblivá řádová čárka) mají
    tečku: <code>3.14</code>, <code>-0.5</code>, <code>2.0</code>. Pozor, v programu se píše desetinná
    tečka, nikoli čárka jako v češtině. Zápis <code>3,14</code> znamená pro Python dvě čísla, trojku
    a čtrnáctku.

    Typ libovolné hodnoty zjistíte funkcí <code>type</code>:

    ```
    >>> type(42)
    <class 'int'>
    >>> type(42.0)
    <class 'float'>
    >>> type("42")
    <class 'str'>
    ```

    Desetinná čísla jsou v počítači uložena jen s omezenou přesností. Proto vás nesmí překvapit, že
    <code>0.1 + 0.2</code> nedá přesně <code>0.3</code>, ale <code>0.30000000000000004</code>. Pro
    běžné výpočty to nevadí, u peněz je ale lepší počítat v haléřích pomocí celých čísel.

    = Aritmetické operátory

    Přehled operátorů, které můžete s čísly používat, shrnuje následující tabulka:

    [[obr1.gif|Aritmetické operátory]]

    Operátor <code>%</code> (modulo) vrací zbytek po celočíselném dělení a je užitečnější, než by
    se mohlo zdát. Pomocí něj snadno zjistíme, zda je číslo sudé (<code>x % 2 == 0</code>), převedeme
    sekundy na minuty a sekundy, nebo zjistíme poslední číslici čísla (<code>x % 10</code>).

    ```
    sekundy = 3725
    hodiny = sekundy // 3600
    minuty = (sekundy % 3600) // 60
    zbytek = sekundy % 60
    print(hodiny, "h", minuty, "min", zbytek, "s")   # 1 h 2 min 5 s
    ```

    = Priorita operátorů

    Stejně jako v matematice má násobení a dělení přednost před sčítáním a odčítáním. Nejvyšší
    prioritu má umocňování. Výraz <code>2 + 3 * 4 ** 2</code> se tedy vyhodnotí jako
    <code>2 + (3 * 16)</code>, tedy 50. Když si nejste jisti, použijte závorky &ndash; nic nezkazí
    a program bude čitelnější.

    = Zkrácené přiřazení

    Velmi často potřebujeme hodnotu proměnné změnit o nějaké číslo. Místo
    <code>pocet = pocet + 1</code> můžeme napsat zkráceně <code>pocet += 1</code>. Obdobně fungují
    operátory <code>-=</code>, <code>*=</code>, <code>/=</code> a další.

    ```
    body = 100
    body -= 15      # penalizace
    body *= 2       # dvojnásobný bonus
    print("Celkem bodů:", body)     # Celkem bodů: 170
    ```

    = Užitečné funkce pro čísla

    * <code>abs(x)</code> &ndash; absolutní hodnota, <code>abs(-5)</code> je 5,
    * <code>round(x, n)</code> &ndash; zaokrouhlení na n desetinných míst,
    * <code>max(a, b, ...)</code> a <code>min(a, b, ...)</code> &ndash; největší a nejmenší hodnota,
    * <code>int(x)</code> &ndash; převod na celé číslo (desetinná část se useká, nezaokrouhluje!).

    Ve <a href="0004-02.htm">druhé části</a> čtvrté lekce se podíváme na pravdivostní hodnoty
    a porovnávání, které budeme potřebovat pro podmínky.
    """,
)

chapter(
    name="0004-02", id=1207, date="2. 2. 2009",
    title="Pravdivostní hodnoty a porovnávání", keywords="bool, porovnání, and, or, not",
    heading=["<h2>Lekce 4 - Pravdivostní hodnoty a porovnávání</h2>"],
    ad=True,
    perex="Program se často musí rozhodnout, co dělat dál. Aby se mohl rozhodovat, potřebuje umět "
          "porovnávat hodnoty a pracovat s pravdou a nepravdou.",
    pictures=[
        ("obr1.png", "table", dict(header=["a", "b", "a and b", "a or b", "not a"], rows=[
            ["True", "True", "True", "True", "False"], ["True", "False", "False", "True", "False"],
            ["False", "True", "False", "True", "True"], ["False", "False", "False", "False", "True"]])),
        ("obr2.png", "table", dict(header=["Zápis", "Význam"], rows=[
            ["a == b", "rovná se"], ["a != b", "nerovná se"], ["a < b", "menší než"],
            ["a > b", "větší než"], ["a <= b", "menší nebo rovno"], ["a >= b", "větší nebo rovno"]])),
    ],
    body="""
    = Pravda a nepravda

    Vedle čísel a textu zná Python ještě jeden důležitý typ: <b>pravdivostní hodnotu</b> (typ
    <code>bool</code>). Ta může nabývat jen dvou hodnot, <code>True</code> (pravda) a
    <code>False</code> (nepravda). Pravdivostní hodnoty vznikají hlavně porovnáním:

    ```
    >>> 5 > 3
    True
    >>> 2 == 7
    False
    >>> vek = 15
    >>> vek >= 18
    False
    ```

    = Porovnávací operátory

    [[obr2.png|Porovnávací operátory]]

    Nejčastější chybou začátečníků je záměna operátoru přiřazení <code>=</code> a porovnání
    <code>==</code>. Jedno rovnítko do proměnné ukládá, dvě rovnítka se ptají, zda se dvě hodnoty
    rovnají. Python vás naštěstí ve většině případů upozorní, protože přiřazení na místě podmínky
    nepovolí.

    Porovnávat můžeme i řetězce. Rovnost funguje podle očekávání, <code>"pes" == "pes"</code> je
    pravda. Operátory <code>&lt;</code> a <code>&gt;</code> porovnávají texty podle kódů znaků, tedy
    zhruba podle abecedy &ndash; ale pozor, velká písmena jsou „menší“ než malá a česká písmena
    s diakritikou mají kódy až za celou anglickou abecedou. Proto Python řadí slovo „čaj“ až za
    slovo „zebra“.

    Python dovoluje porovnání i řetězit, což jiné jazyky neumějí: podmínku „x leží mezi 1 a 10“
    zapíšeme přirozeně jako <code>1 &lt;= x &lt;= 10</code>.

    = Logické operátory

    Složitější podmínky skládáme z jednodušších pomocí logických operátorů <code>and</code>
    (a zároveň), <code>or</code> (nebo) a <code>not</code> (negace). Jejich chování shrnuje
    takzvaná pravdivostní tabulka:

    [[obr1.png|Pravdivostní tabulka logických operátorů]]

    ```
    vek = 16
    ma_souhlas_rodicu = True
    muze_na_vylet = vek >= 18 or ma_souhlas_rodicu
    print("Může jet na výlet:", muze_na_vylet)      # True

    je_vikend = False
    prsi = True
    pujdeme_ven = je_vikend and not prsi
    print("Půjdeme ven:", pujdeme_ven)               # False
    ```

    Operátor <code>and</code> má vyšší prioritu než <code>or</code>. Výraz
    <code>a or b and c</code> se tedy vyhodnotí jako <code>a or (b and c)</code>. I tady platí, že
    závorky pomáhají čitelnosti.

    = Zkrácené vyhodnocování

    Python vyhodnocuje logické výrazy zleva a přestane, jakmile zná výsledek. Je-li levá strana
    operátoru <code>and</code> nepravdivá, pravou stranu už vůbec nepočítá. Toho se dá využít
    k ochraně před chybou:

    ```
    delitel = 0
    if delitel != 0 and 10 / delitel > 2:
        print("Podíl je větší než 2")
    ```

    Kdyby Python počítal i pravou stranu, skončil by program chybou dělení nulou. Díky zkrácenému
    vyhodnocování se nic špatného nestane. Slovo <code>if</code> v ukázce je podmínka, na kterou se
    podrobně podíváme hned v <a href="0005.htm">další lekci</a>.

    ! PRO ZVÍDAVÉ: Hodnoty <code>True</code> a <code>False</code> se v aritmetice chovají jako
    čísla 1 a 0. Výraz <code>True + True</code> proto dá 2. Prakticky se to hodí třeba pro počítání,
    kolik podmínek bylo splněno.

    = Úkoly na procvičení

    * Zapište podmínku, která je pravdivá, když je rok přestupný (dělitelný 4, ale ne 100,
      nebo dělitelný 400).
    * Co vypíše <code>print(not (3 &gt; 2 and 2 &gt; 1))</code>? Zkuste odpovědět bez počítače.
    * Zjistěte, jak Python porovná řetězce <code>"Praha"</code> a <code>"praha"</code>.
    """,
)

# ---------------------------------------------------------------- lekce 5
chapter(
    name="0005", id=1208, date="9. 2. 2009",
    title="Podmínky", keywords="podmínka, if, else, odsazení",
    heading=["<H2>Lekce 5 - Podmínky</H2>"],
    body_tag=PRINT_BODY_PLAIN, lf=True,
    perex="Až dosud probíhaly naše programy pořád stejně, řádek po řádku od začátku do konce. Dnes je "
          "naučíme rozhodovat se: podle situace provedou jednu, nebo druhou část kódu.",
    pictures=[
        ("obr1.png", "flow", dict(nodes=[("oval", "Start"), ("io", "Načti věk"),
                                         ("if", "věk >= 18 ?"), ("box", "Vypiš: Vstup povolen"),
                                         ("oval", "Konec")],
                                  sides=[(2, "Vypiš: Zákaz")])),
    ],
    body="""
    = Příkaz if

    Podmínku v Pythonu zapisujeme slovem <code>if</code> (anglicky „jestliže“), za kterým následuje
    pravdivostní výraz a dvojtečka. Příkazy, které se mají provést jen při splnění podmínky, píšeme na
    další řádky a <b>odsadíme</b> je o čtyři mezery:

    ```
    vek = int(input("Kolik je ti let? "))
    if vek >= 18:
        print("Vstup povolen.")
        print("Přejeme příjemnou zábavu.")
    print("Děkujeme za návštěvu.")
    ```

    Poslední řádek už odsazený není, a proto se provede vždy, bez ohledu na podmínku. Odsazení je
    v Pythonu součástí jazyka: právě podle něj interpret pozná, které příkazy k podmínce patří.
    Jiné jazyky k tomu používají složené závorky nebo slova <i>begin</i> a <i>end</i>, Python vás
    nutí psát přehledně.

    ! DŮLEŽITÉ: Nikdy v jednom souboru nemíchejte mezery a tabulátory. Na obrazovce mohou vypadat
    stejně, ale Python je rozlišuje a ohlásí chybu <code>IndentationError</code> nebo, což je horší,
    provede program jinak, než čekáte.

    = Větev else

    Často chceme udělat jednu věc, když podmínka platí, a jinou, když neplatí. K tomu slouží větev
    <code>else</code> („jinak“), která se píše na stejnou úroveň jako <code>if</code>:

    ```
    vek = int(input("Kolik je ti let? "))
    if vek >= 18:
        print("Vstup povolen.")
    else:
        print("Zákaz vstupu, je ti jen", vek, "let.")
        print("Přijď za", 18 - vek, "let.")
    ```

    [[obr1.png|Vývojový diagram podmínky s větví else]]

    V diagramu se podmínka kreslí jako kosočtverec. Z něj vedou dvě cesty: jedna pro splněnou
    podmínku („ano“), druhá pro nesplněnou („ne“). Za podmínkou se obě cesty zase spojí a program
    pokračuje společnou částí.

    = Vnořené podmínky

    Uvnitř podmínky může být další podmínka. Každá úroveň vnoření znamená další odsazení o čtyři
    mezery:

    ```
    cislo = int(input("Zadej celé číslo: "))
    if cislo >= 0:
        if cislo % 2 == 0:
            print("Kladné sudé číslo (nebo nula).")
        else:
            print("Kladné liché číslo.")
    else:
        print("Záporné číslo.")
    ```

    Příliš mnoho úrovní vnoření ale program znepřehledňuje. Pokud máte podmínku zanořenou do
    čtvrté nebo páté úrovně, zkuste se zamyslet, zda by nešla zapsat jednodušeji &ndash; třeba
    pomocí logických operátorů z <a href="0004-02.htm">minulé lekce</a>.

    = Co Python považuje za pravdu

    Za <code>if</code> nemusí stát jen porovnání. Python umí posoudit pravdivost téměř čehokoli:
    číslo 0, prázdný řetězec <code>""</code> a prázdný seznam jsou nepravdivé, ostatní čísla
    a neprázdné řetězce pravdivé. Díky tomu můžeme psát stručně:

    ```
    jmeno = input("Jméno (nebo Enter pro anonymní vstup): ")
    if jmeno:
        print("Vítej, " + jmeno + "!")
    else:
        print("Vítej, neznámý návštěvníku!")
    ```

    = Úkoly na procvičení

    * Program načte dvě čísla a vypíše větší z nich (bez použití funkce <code>max</code>).
    * Program zjistí, zda je zadaný rok přestupný. Využijte podmínku z úkolů minulé lekce.
    * Program načte tři délky stran a rozhodne, zda z nich lze sestrojit trojúhelník.

    Příště si ukážeme, jak elegantně zapsat rozhodování mezi více než dvěma možnostmi.
    """,
)

# ---------------------------------------------------------------- lekce 6
chapter(
    name="0006", id=1209, date="16. 2. 2009",
    title="Vícenásobné větvení", keywords="elif, větvení, podmínka",
    heading=["<H2>Lekce 6 - Více", "   násobné větvení</H2>"],
    perex="Minule jsme se naučili rozhodovat mezi dvěma možnostmi. Co když jich je víc? Dnes poznáme "
          "konstrukci elif a ukážeme si několik typických úloh, ve kterých se vícenásobné větvení hodí.",
    pictures=[
        ("obr1.png", "flow", dict(nodes=[("io", "Načti body"), ("if", "body >= 90 ?"),
                                         ("if", "body >= 75 ?"), ("if", "body >= 50 ?"),
                                         ("box", "Známka 4")],
                                  sides=[(1, "Známka 1"), (2, "Známka 2"), (3, "Známka 3")],
                                  swap=True)),
        ("obr2.gif", "table", dict(header=["Body", "Známka"], rows=[
            ["90 - 100", "1 (výborně)"], ["75 - 89", "2 (chvalitebně)"],
            ["50 - 74", "3 (dobře)"], ["0 - 49", "4 (nevyhověl)"]])),
    ],
    body="""
    = Podmínky za sebou

    Představte si, že máme převést počet bodů z testu na známku podle tabulky:

    [[obr2.gif|Převod bodů na známku]]

    S tím, co už známe, bychom mohli napsat čtyři podmínky pod sebe nebo je do sebe vnořit.
    Obojí funguje, ale první řešení zbytečně testuje všechny podmínky, i když už výsledek známe,
    a druhé se kvůli odsazení rychle „rozjede“ doprava:

    ```
    if body >= 90:
        znamka = 1
    else:
        if body >= 75:
            znamka = 2
        else:
            if body >= 50:
                znamka = 3
            else:
                znamka = 4
    ```

    = Konstrukce elif

    Python proto nabízí slovo <code>elif</code>, zkratku z <i>else if</i>. Podmínky se testují
    postupně shora dolů a provede se jen větev <b>první</b> splněné podmínky. Ostatní se přeskočí.
    Závěrečná větev <code>else</code> je nepovinná a provede se, když neplatí žádná z podmínek:

    ```
    body = int(input("Počet bodů (0-100): "))
    if body >= 90:
        znamka = 1
    elif body >= 75:
        znamka = 2
    elif body >= 50:
        znamka = 3
    else:
        znamka = 4
    print("Známka:", znamka)
    ```

    [[obr1.png|Postupné testování podmínek]]

    Díky tomu, že se podmínky testují v pořadí, nemusíme u druhé větve psát
    <code>75 &lt;= body &lt; 90</code>. Pokud program došel až k ní, víme jistě, že bodů je méně než
    90 &ndash; jinak by se provedla první větev. Pořadí podmínek je tedy důležité. Kdybychom začali
    testem <code>body &gt;= 50</code>, dostal by trojku i student se sto body.

    = Ošetření nesmyslných vstupů

    Dobrý program počítá s tím, že uživatel zadá nesmysl. Co když napíše 150 bodů nebo záporné
    číslo? Přidáme na začátek kontrolu:

    ```
    body = int(input("Počet bodů (0-100): "))
    if body < 0 or body > 100:
        print("Chyba: počet bodů musí být mezi 0 a 100.")
    elif body >= 90:
        print("Výborně!")
    elif body >= 75:
        print("Chvalitebně.")
    elif body >= 50:
        print("Dobře.")
    else:
        print("Bohužel, test jste nesplnili.")
    ```

    Co když uživatel místo čísla napíše slovo? Pak program skončí chybou už u funkce
    <code>int</code>. Jak takové chyby zachytit, si ukážeme v pozdějších lekcích.

    = Jednoduché menu

    Vícenásobné větvení se výborně hodí pro textová menu, ve kterých si uživatel vybírá jednu
    z nabízených činností:

    ```
    print("1 - Převod km na míle")
    print("2 - Převod mil na km")
    print("3 - Konec")
    volba = input("Vaše volba: ")
    if volba == "1":
        km = float(input("Kilometry: "))
        print(km, "km =", round(km / 1.609, 2), "mil")
    elif volba == "2":
        mile = float(input("Míle: "))
        print(mile, "mil =", round(mile * 1.609, 2), "km")
    elif volba == "3":
        print("Na shledanou.")
    else:
        print("Neznámá volba!")
    ```

    Všimněte si, že volbu porovnáváme s řetězcem <code>"1"</code>, nikoli s číslem <code>1</code>.
    Funkce <code>input</code> vrací text a převádět ho na číslo by bylo zbytečné.

    ! TIP: Menu, které se po provedení akce zase zobrazí, dokud uživatel nezvolí konec, potřebuje
    cyklus. A právě cykly jsou tématem <a href="0007-01.htm">příští lekce</a>.

    = Úkoly na procvičení

    * Program načte číslo měsíce (1&ndash;12) a vypíše, kolik dní má daný měsíc (únor počítejte
      s 28 dny).
    * Jednoduchá kalkulačka: načte dvě čísla a operátor (+, -, *, /) a vypíše výsledek. Ošetřete
      dělení nulou.
    * Program pro výpočet ceny jízdenky: děti do 6 let zdarma, do 15 let polovina, nad 65 let
      třetina, ostatní plná cena 24 Kč.
    """,
)

# ---------------------------------------------------------------- lekce 7
chapter(
    name="0007-01", id=1210, date="23. 2. 2009",
    title="Cyklus while", keywords="cyklus, while, break",
    heading=["<h2>Lekce 7 – Cyklus while</h2>"],
    perex="Počítače jsou skvělé v opakování stále stejné činnosti &ndash; nikdy se nenudí a nedělají "
          "chyby z nepozornosti. K opakování slouží cykly a dnes začneme tím nejjednodušším.",
    pictures=[
        ("obr1.png", "flow", dict(nodes=[("box", "i = 1"), ("if", "i <= 5 ?"),
                                         ("box", "vypiš i"), ("box", "i = i + 1")],
                                  loop=True, sides=[(1, "konec cyklu")])),
    ],
    body="""
    = Opakuj, dokud platí podmínka

    Cyklus <code>while</code> („dokud“) opakuje svůj blok příkazů tak dlouho, dokud platí zadaná
    podmínka. Zapisuje se podobně jako <code>if</code>:

    ```
    i = 1
    while i <= 5:
        print("Průchod číslo", i)
        i = i + 1
    print("Hotovo.")
    ```

    Python nejprve otestuje podmínku. Je-li splněna, provede odsazený blok a vrátí se znovu
    k podmínce. Tak to pokračuje, dokud podmínka neplatí &ndash; pak program pokračuje prvním
    příkazem za cyklem. Jednomu provedení bloku se říká <b>průchod</b> nebo <b>iterace</b>.

    [[obr1.png|Průběh cyklu while]]

    Všimněte si šipky, která se z konce bloku vrací zpět k podmínce. Právě ta dělá z obyčejné
    podmínky cyklus.

    = Nekonečný cyklus

    Co by se stalo, kdybychom v ukázce zapomněli na řádek <code>i = i + 1</code>? Proměnná
    <code>i</code> by měla pořád hodnotu 1, podmínka by platila věčně a program by donekonečna
    vypisoval stejný text. Takový program přerušíte klávesovou zkratkou <b>Ctrl+C</b>.

    Nekonečný cyklus ale nemusí být vždy chyba. Někdy ho napíšeme záměrně a ukončíme ho zevnitř
    příkazem <code>break</code>, který cyklus okamžitě opustí:

    ```
    while True:
        prikaz = input("Zadej příkaz (konec = ukončit): ")
        if prikaz == "konec":
            break
        print("Provádím příkaz", prikaz)
    print("Program skončil.")
    ```

    = Příkaz continue

    Příkaz <code>continue</code> přeskočí zbytek aktuálního průchodu a vrátí se rovnou k podmínce.
    Následující program sečte jen kladná čísla, záporná ignoruje. Nula zadávání ukončí:

    ```
    soucet = 0
    while True:
        cislo = int(input("Číslo (0 = konec): "))
        if cislo == 0:
            break
        if cislo < 0:
            print("Záporná čísla nesčítám.")
            continue
        soucet += cislo
    print("Součet kladných čísel:", soucet)
    ```

    = Hádání čísla

    Na závěr první části malá hra. Počítač si „myslí“ číslo od 1 do 100 a hráč ho hádá. Po každém
    pokusu se dozví, zda je hledané číslo větší, nebo menší. Funkci <code>randint</code> z modulu
    <code>random</code> zatím berte jako hotovou věc, moduly si vysvětlíme později.

    ```
    import random

    tajne = random.randint(1, 100)
    pokusy = 0
    tip = 0
    while tip != tajne:
        tip = int(input("Tvůj tip: "))
        pokusy += 1
        if tip < tajne:
            print("Moje číslo je větší.")
        elif tip > tajne:
            print("Moje číslo je menší.")
    print("Správně! Uhodl jsi na", pokusy, "pokusů.")
    ```

    ! ZKUSTE SI: Jaký je nejmenší počet pokusů, se kterým číslo od 1 do 100 uhodnete vždy, když
    budete hrát chytře? (Nápověda: pokaždé tipujte prostředek zbývajícího intervalu.)

    Ve <a href="0007-02.htm">druhé části</a> sedmé lekce se seznámíme s cyklem <code>for</code>,
    který se hodí tam, kde dopředu víme, kolikrát se má něco opakovat.
    """,
)

chapter(
    name="0007-02", id=1211, date="23. 2. 2009",
    title="Cyklus for", keywords="cyklus, for, range",
    heading=["<H2>Lekce 7 – Cyklus for</H2>"],
    perex="Cyklus for prochází postupně všechny prvky nějaké posloupnosti, například čísel nebo znaků. "
          "V Pythonu ho budete používat mnohem častěji než cyklus while.",
    pictures=[
        ("obr1.png", "cells", dict(title="range(2, 12, 3)", cells=[
            ("1. průchod", "2"), ("2. průchod", "5"), ("3. průchod", "8"), ("4. průchod", "11")])),
        ("obr2.gif", "console", dict(title="Malá násobilka", lines=[
            "  1  2  3  4  5", "  2  4  6  8 10", "  3  6  9 12 15", "  4  8 12 16 20",
            "  5 10 15 20 25"])),
    ],
    body="""
    = Cyklus for a funkce range

    Nejčastěji potřebujeme něco zopakovat pro čísla v určitém rozsahu. Funkce <code>range</code>
    vytvoří posloupnost čísel a cyklus <code>for</code> jimi postupně projde. V každém průchodu je
    aktuální číslo uloženo v <b>řídicí proměnné</b> cyklu:

    ```
    for i in range(5):
        print("Průchod", i)
    ```

    Program vypíše čísla 0, 1, 2, 3 a 4. Posloupnost tedy začíná nulou a <b>nekončí</b> zadaným
    číslem, ale číslem o jedna menším. Zpočátku to působí zvláštně, brzy ale zjistíte, že je to
    velmi praktické: <code>range(5)</code> má přesně pět prvků.

    Funkci <code>range</code> můžeme zadat i začátek a krok:

    * <code>range(1, 11)</code> &ndash; čísla 1 až 10,
    * <code>range(0, 100, 10)</code> &ndash; desítky 0, 10, 20, ... 90,
    * <code>range(10, 0, -1)</code> &ndash; odpočítávání 10, 9, ... 1.

    [[obr1.png|Hodnoty řídicí proměnné pro range(2, 12, 3)]]

    = Procházení řetězce

    Cyklus <code>for</code> umí procházet nejen čísla, ale jakoukoli posloupnost. Řetězec je
    posloupnost znaků, takže ho můžeme projít znak po znaku:

    ```
    slovo = input("Zadej slovo: ")
    samohlasky = 0
    for znak in slovo:
        if znak in "aeiouyáéěíóúůý":
            samohlasky += 1
    print("Slovo", slovo, "obsahuje", samohlasky, "samohlásek.")
    ```

    Operátor <code>in</code> v podmínce zjišťuje, zda je znak obsažen v řetězci samohlásek. Zkuste
    program spustit se slovem „čtvrtletí“ a pak třeba s „ŽLUŤOUČKÝ“ &ndash; velká písmena program
    zatím nepočítá. Jak to napravit, se dozvíte v lekci o <a href="0011.htm">řetězcích</a>.

    = Vnořené cykly

    Cykly lze do sebe vnořovat stejně jako podmínky. Vnitřní cyklus proběhne celý při každém
    průchodu vnějšího cyklu. Typickým příkladem je tabulka malé násobilky:

    ```
    for radek in range(1, 6):
        for sloupec in range(1, 6):
            print("%3d" % (radek * sloupec), end="")
        print()
    ```

    [[obr2.gif|Výstup programu s vnořenými cykly]]

    Zápis <code>"%3d" % hodnota</code> naformátuje číslo na tři znaky zarovnané doprava, parametr
    <code>end=""</code> zase zabrání tomu, aby <code>print</code> za každým číslem odřádkoval.
    Samotné <code>print()</code> bez parametrů pak odřádkuje na konci každého řádku tabulky.

    = Kdy while a kdy for

    Pravidlo je jednoduché. Víte-li předem, kolikrát nebo pro které hodnoty se má blok opakovat,
    použijte <code>for</code>. Záleží-li počet opakování na něčem, co se zjistí až během cyklu
    (uživatel zadá „konec“, hráč uhodne číslo), použijte <code>while</code>. I v cyklu
    <code>for</code> fungují příkazy <code>break</code> a <code>continue</code>.

    = Úkoly na procvičení

    * Vypište všechna sudá čísla od 2 do 50 na jeden řádek.
    * Spočítejte součet čísel od 1 do 1000. (Výsledek by měl být 500500.)
    * Vykreslete pomocí hvězdiček pravoúhlý trojúhelník o zadané výšce.
    * Faktoriál: program načte n a vypíše součin 1 &times; 2 &times; ... &times; n.

    Předchozí část lekce najdete <a href="0007-01.htm">zde</a>, v <a href="0008.htm">příští lekci</a>
    se naučíme psát vlastní funkce.
    """,
)

# ---------------------------------------------------------------- lekce 8
chapter(
    name="0008", id=1212, date="2. 3. 2009",
    title="Funkce", keywords="funkce, def, return, parametry",
    heading=["<H2>Lekce 8 - Funkce</H2>"],
    section_heading=True, head_script=True,
    perex="Programy, které píšeme, jsou čím dál delší. Dnes se naučíme rozdělit program na menší "
          "pojmenované části, funkce, které lze opakovaně volat a které dělají kód přehlednějším.",
    pictures=[
        ("obr1.png", "console", dict(title="Volání funkcí", lines=[
            ">>> def obsah_kruhu(r):", "...     return 3.14159 * r ** 2", "...",
            ">>> obsah_kruhu(1)", "3.14159", ">>> obsah_kruhu(10)", "314.159",
            ">>> round(obsah_kruhu(2.5), 2)", "19.63"])),
    ],
    body="""
    = Proč funkce

    Funkce už jsme používali: <code>print</code>, <code>input</code>, <code>int</code> nebo
    <code>range</code>. Každá z nich má jméno, v závorkách dostane nějaké hodnoty a něco udělá, případně
    vrátí výsledek. Výhoda je zřejmá &ndash; nemusíme vědět, <i>jak</i> funkce <code>print</code>
    uvnitř funguje, stačí vědět, <i>co</i> dělá. Vlastní funkce nám přinesou totéž:

    * kód, který se opakuje, napíšeme jen jednou,
    * dlouhý program rozdělíme na krátké, srozumitelné kousky,
    * chybu opravíme na jednom místě, a ne na deseti.

    = Definice funkce

    Funkci definujeme klíčovým slovem <code>def</code>, za kterým následuje jméno funkce, závorky
    s <b>parametry</b> a dvojtečka. Tělo funkce je odsazené:

    ```
    def pozdrav(jmeno):
        print("Ahoj, " + jmeno + "!")
        print("Jak se máš?")

    pozdrav("Petro")
    pozdrav("Ládíku")
    ```

    Definice funkce sama o sobě nic nevypíše, jen Pythonu řekne, co má udělat, až funkci někdo
    <b>zavolá</b>. Teprve poslední dva řádky funkci volají, pokaždé s jinou hodnotou parametru
    <code>jmeno</code>. Funkce musí být definována dříve, než ji zavoláme.

    = Návratová hodnota

    Funkce často něco spočítá a výsledek potřebujeme dál použít. K tomu slouží příkaz
    <code>return</code>, který funkci ukončí a vrátí zadanou hodnotu tomu, kdo funkci zavolal:

    ```
    def obsah_kruhu(r):
        return 3.14159 * r ** 2

    plocha = obsah_kruhu(3) + obsah_kruhu(4)
    print("Celková plocha:", plocha)
    ```

    [[obr1.png|Zkoušení funkce v interaktivním režimu]]

    Funkce bez příkazu <code>return</code> vrací speciální hodnotu <code>None</code>, která znamená
    „nic“. Příkaz <code>return</code> může stát i uprostřed funkce, třeba uvnitř podmínky; zbytek
    funkce se pak už neprovede:

    ```
    def znamenko(x):
        if x > 0:
            return "kladné"
        if x < 0:
            return "záporné"
        return "nula"
    ```

    = Více parametrů a výchozí hodnoty

    Funkce může mít parametrů několik, oddělujeme je čárkou. Parametr může mít i výchozí hodnotu,
    která se použije, když ho při volání vynecháme:

    ```
    def cena_s_dph(cena, sazba=19):
        return cena * (100 + sazba) / 100

    print(cena_s_dph(100))        # 119.0
    print(cena_s_dph(100, 9))     # 109.0
    print(cena_s_dph(sazba=5, cena=200))
    ```

    Poslední řádek ukazuje předávání parametrů <b>jménem</b>. Pořadí pak nehraje roli a volání je
    čitelnější, zvlášť když má funkce parametrů hodně.

    = Lokální a globální proměnné

    Proměnné vytvořené uvnitř funkce jsou <b>lokální</b> &ndash; existují jen během provádění funkce
    a zvenku nejsou vidět. Dvě různé funkce tedy mohou mít proměnnou stejného jména a nebudou si
    překážet. Proměnné definované mimo funkce jsou <b>globální</b>; funkce je může číst, ale pokud
    do nich chce zapisovat, musí to výslovně ohlásit slovem <code>global</code>. Dobře napsaná funkce
    ale globální proměnné skoro nepotřebuje: všechno, co ke své práci potřebuje, dostane v parametrech,
    a výsledek vrátí příkazem <code>return</code>.

    ! RADA ZKUŠENÉHO: Funkce by měla dělat jednu věc a dělat ji dobře. Pokud popis toho, co funkce
    dělá, obsahuje spojku „a“ (načte soubor <i>a</i> spočítá průměr <i>a</i> vypíše graf), zvažte
    její rozdělení na několik menších funkcí.

    = Dokumentační řetězec

    Hned za řádek s <code>def</code> můžeme napsat řetězec, který popisuje, co funkce dělá. Takový
    řetězec se jmenuje <i>docstring</i> a zobrazí ho i vestavěná funkce <code>help</code>:

    ```
    def prumer(a, b, c):
        \"\"\"Vrátí aritmetický průměr tří čísel.\"\"\"
        return (a + b + c) / 3
    ```

    = Úkoly na procvičení

    * Napište funkci <code>je_prvocislo(n)</code>, která vrátí <code>True</code>, je-li n prvočíslo.
    * Pomocí ní vypište všechna prvočísla menší než 100.
    * Napište funkci, která převede počet sekund na text ve tvaru „2 h 5 min 12 s“.

    Příště se podíváme na <a href="0009-01.htm">seznamy</a>, které umožňují pracovat s mnoha hodnotami
    najednou. Kdo zmeškal cykly, najde je v <a href="0007-01.htm">sedmé lekci</a>.
    """,
)

# ---------------------------------------------------------------- lekce 9
chapter(
    name="0009-01", id=1213, date="9. 3. 2009",
    title="Seznamy", keywords="seznam, list, append, index",
    heading=["<H2>Lekce 9 - Seznamy</H2>"],
    body_tag="  " + PRINT_BODY_QUOTED,
    perex="Co když potřebujeme uložit známky celé třídy nebo teploty za celý měsíc? Vytvářet třicet "
          "proměnných by bylo nesmyslné. Python pro takové případy nabízí seznamy.",
    pictures=[
        ("obr1.png", "cells", dict(title="teploty = [12, 15, 9, 21, 18]", cells=[
            ("teploty[0]", "12"), ("teploty[1]", "15"), ("teploty[2]", "9"),
            ("teploty[3]", "21"), ("teploty[4]", "18")], indexes=[-5, -4, -3, -2, -1])),
    ],
    body="""
    = Vytvoření seznamu

    <b>Seznam</b> (anglicky <i>list</i>) je uspořádaná řada hodnot. Zapisujeme ho do hranatých
    závorek a jednotlivé <b>prvky</b> oddělujeme čárkami. Prvky mohou být libovolného typu, dokonce
    se v jednom seznamu mohou míchat:

    ```
    teploty = [12, 15, 9, 21, 18]
    jmena = ["Jana", "Petr", "Šárka", "Čeněk"]
    smes = [1, "dva", 3.0, True]
    prazdny = []
    ```

    = Indexy

    K jednotlivým prvkům se dostaneme pomocí <b>indexu</b> &ndash; pořadového čísla prvku v hranatých
    závorkách za jménem seznamu. Indexy se počítají <b>od nuly</b>, první prvek má tedy index 0 a poslední
    index o jedna menší, než je délka seznamu. Záporné indexy počítají od konce: <code>-1</code> je
    poslední prvek, <code>-2</code> předposlední.

    [[obr1.png|Kladné a záporné indexy prvků seznamu]]

    ```
    print(teploty[0])      # 12
    print(teploty[-1])     # 18
    teploty[2] = 10        # změna třetího prvku
    print(len(teploty))    # 5
    ```

    Funkce <code>len</code> vrací počet prvků seznamu. Pokusíte-li se sáhnout na index, který
    neexistuje (třeba <code>teploty[5]</code>), skončí program chybou <code>IndexError</code>.

    = Výřezy

    Zápisem <code>seznam[od:do]</code> získáme nový seznam s částí prvků, takzvaný <b>výřez</b>.
    Stejně jako u funkce <code>range</code> je prvek na pozici <i>od</i> zahrnut a prvek na pozici
    <i>do</i> už ne. Kteroukoli mez můžeme vynechat:

    ```
    cisla = [10, 20, 30, 40, 50, 60]
    print(cisla[1:4])     # [20, 30, 40]
    print(cisla[:3])      # [10, 20, 30]
    print(cisla[3:])      # [40, 50, 60]
    print(cisla[::2])     # [10, 30, 50]
    ```

    = Změny seznamu

    Seznam není pevně daný, prvky můžeme přidávat a odebírat. Slouží k tomu <b>metody</b> &ndash;
    funkce, které patří k určitému seznamu a volají se zápisem s tečkou:

    * <code>s.append(x)</code> &ndash; přidá prvek x na konec,
    * <code>s.insert(i, x)</code> &ndash; vloží prvek x na pozici i,
    * <code>s.remove(x)</code> &ndash; odebere první prvek s hodnotou x,
    * <code>s.pop()</code> &ndash; odebere poslední prvek a vrátí ho,
    * <code>s.sort()</code> &ndash; seřadí prvky od nejmenšího,
    * <code>s.reverse()</code> &ndash; obrátí pořadí prvků.

    ```
    nakup = ["chléb", "mléko"]
    nakup.append("máslo")
    nakup.insert(0, "rohlíky")
    nakup.remove("mléko")
    print(nakup)          # ['rohlíky', 'chléb', 'máslo']
    ```

    = Seznamy a cyklus for

    Seznamy a cyklus <code>for</code> k sobě patří. Cyklus postupně projde všechny prvky seznamu:

    ```
    znamky = [1, 3, 2, 1, 4, 2]
    soucet = 0
    for z in znamky:
        soucet += z
    print("Průměr:", soucet / len(znamky))
    print("Nejlepší:", min(znamky), "nejhorší:", max(znamky))
    ```

    Pro součet bychom mohli použít i vestavěnou funkci <code>sum</code>, ale je dobré vědět, jak
    to udělat „ručně“. Na podobném principu funguje hledání, počítání a filtrování prvků.

    ! POZOR: Přiřazení <code>b = a</code> seznam nekopíruje! Obě proměnné pak ukazují na
    <b>tentýž</b> seznam a změna přes jednu z nich je vidět i přes druhou. Kopii vytvoříte výřezem
    <code>b = a[:]</code>.

    Ve <a href="0009-02.htm">druhé části</a> deváté lekce poznáme další dva užitečné typy:
    n-tice a slovníky.
    """,
)

chapter(
    name="0009-02", id=1214, date="9. 3. 2009",
    title="N-tice a slovníky", keywords="n-tice, tuple, slovník, dict",
    heading=["<H2>Lekce 9 - N-tice a slovníky</H2>"],
    perex="Seznam není jediná datová struktura, kterou Python nabízí. Dnes si představíme n-tice, "
          "které se nedají měnit, a slovníky, ve kterých hodnoty hledáme podle klíče.",
    pictures=[
        ("obr1.gif", "table", dict(header=["Klíč", "Hodnota"], rows=[
            ["\"pes\"", "\"dog\""], ["\"kočka\"", "\"cat\""], ["\"myš\"", "\"mouse\""],
            ["\"kůň\"", "\"horse\""]])),
        ("obr2.png", "cells", dict(title="bod = (3, 7)", cells=[("bod[0]", "3"), ("bod[1]", "7")])),
    ],
    body="""
    = N-tice

    <b>N-tice</b> (anglicky <i>tuple</i>) vypadá skoro jako seznam, jen se zapisuje do kulatých
    závorek. Zásadní rozdíl je v tom, že n-tici po vytvoření nelze změnit: nepřidáte do ní prvek
    a nezměníte žádnou hodnotu. Hodí se proto pro data, která k sobě pevně patří, například
    souřadnice bodu nebo datum:

    ```
    bod = (3, 7)
    datum = (24, 12, 2009)
    print("x =", bod[0], "y =", bod[1])
    den, mesic, rok = datum      # rozbalení n-tice do proměnných
    ```

    [[obr2.png|N-tice se dvěma prvky]]

    Rozbalení n-tice jsme už vlastně používali, aniž bychom o tom věděli &ndash; při výměně hodnot
    dvou proměnných zápisem <code>a, b = b, a</code>. N-tice se také hodí, když má funkce vrátit více
    hodnot najednou:

    ```
    def min_max(seznam):
        return min(seznam), max(seznam)

    nejmensi, nejvetsi = min_max([4, 8, 1, 9])
    ```

    = Slovníky

    Ve slovníku (anglicky <i>dictionary</i>, zkráceně <code>dict</code>) nejsou hodnoty očíslované,
    ale uložené pod <b>klíči</b>. Funguje přesně jako papírový slovník: podle slova (klíče) najdete
    překlad (hodnotu). Slovník zapisujeme do složených závorek, klíč od hodnoty oddělujeme
    dvojtečkou:

    ```
    slovnik = {"pes": "dog", "kočka": "cat", "myš": "mouse"}
    print(slovnik["kočka"])        # cat
    slovnik["kůň"] = "horse"       # přidání nové dvojice
    slovnik["pes"] = "hound"       # změna hodnoty
    ```

    [[obr1.gif|Slovník jako tabulka klíčů a hodnot]]

    Klíče ve slovníku jsou jedinečné; přiřazení do existujícího klíče starou hodnotu přepíše.
    Klíčem bývá nejčastěji řetězec nebo číslo, hodnotou může být cokoli, třeba i další slovník nebo
    seznam.

    = Práce se slovníkem

    Zeptáme-li se na klíč, který ve slovníku není, skončí program chybou <code>KeyError</code>.
    Proto se nejprve operátorem <code>in</code> zeptáme, zda klíč existuje, nebo použijeme metodu
    <code>get</code>, která v takovém případě vrátí náhradní hodnotu:

    ```
    slovo = input("Přelož slovo: ")
    if slovo in slovnik:
        print(slovnik[slovo])
    else:
        print("Slovo neznám.")

    print(slovnik.get("žirafa", "???"))
    ```

    Cyklem <code>for</code> projdeme všechny klíče slovníku. Metoda <code>items()</code> vrací
    dvojice klíč&ndash;hodnota, které rovnou rozbalíme:

    ```
    for cesky, anglicky in slovnik.items():
        print(cesky, "=", anglicky)
    ```

    = Příklad: četnost slov

    Slovníky jsou ideální pro počítání výskytů. Následující program spočítá, kolikrát se každé
    slovo vyskytuje v zadané větě:

    ```
    veta = "kdo jinému jámu kopá sám do ní padá a kdo nekope ten nepadá"
    cetnost = {}
    for slovo in veta.split():
        cetnost[slovo] = cetnost.get(slovo, 0) + 1
    for slovo in sorted(cetnost):
        print(slovo, cetnost[slovo])
    ```

    Metoda <code>split</code> rozdělí řetězec na seznam slov podle mezer. Více o ní se dozvíte
    v lekci o <a href="0011.htm">řetězcích</a>.

    ! SHRNUTÍ: Seznam použijte pro řadu hodnot, u které záleží na pořadí a která se mění. N-tici
    pro pevně danou skupinu hodnot. Slovník tam, kde hodnoty hledáte podle jména nebo jiného klíče.

    = Úkoly na procvičení

    * Napište program, který se uživatele ptá na slova a překládá je pomocí slovníku. Neznámé
      slovo si nechá vysvětlit a přidá ho do slovníku.
    * Z řetězce spočítejte, kolikrát se v něm vyskytuje které písmeno.
    * Uložte do seznamu n-tic jména a věky pěti osob a vypište nejstaršího.
    """,
)

# ---------------------------------------------------------------- lekce 10
chapter(
    name="0010", id=1215, date="16. 3. 2009",
    title="Vstup a výstup", keywords="input, print, format, výjimky",
    heading=["<H2>Lekce 10 - Vstup &amp; výstup</H2>"],
    perex="Funkce print a input známe od druhé lekce. Dnes z nich vytěžíme mnohem víc: naučíme se "
          "úhledně formátovat výstup a ohlídat, aby program nespadl, když uživatel zadá nesmysl.",
    pictures=[
        ("obr1.png", "console", dict(title="Účtenka", lines=[
            "Zboží                Ks      Cena", "-------------------------------",
            "Rohlík               10      25.00", "Mléko polotučné       2      31.80",
            "Sýr eidam             1      42.90", "-------------------------------",
            "Celkem                       99.70 Kč"])),
        ("obr2.png", "console", dict(title="Kontrola vstupu", lines=[
            "Zadej věk: dvacet", "To není celé číslo, zkus to znovu.",
            "Zadej věk: -5", "Věk musí být mezi 0 a 130.", "Zadej věk: 20", "Děkuji."])),
    ],
    body="""
    = Parametry funkce print

    Funkce <code>print</code> vypíše libovolný počet hodnot a oddělí je mezerou. Oddělovač můžeme
    změnit parametrem <code>sep</code>, znak vypsaný na konci (standardně konec řádku) parametrem
    <code>end</code>:

    ```
    print("2009", "03", "16", sep="-")       # 2009-03-16
    print("Načítám", end="")
    for i in range(5):
        print(".", end="")
    print(" hotovo")                          # Načítám..... hotovo
    ```

    = Formátování metodou format

    Skládat výstup pomocí <code>+</code> a převodu čísel na řetězce je pracné a nepřehledné.
    Řetězce mají metodu <code>format</code>, která do textu dosadí hodnoty na místa vyznačená
    složenými závorkami:

    ```
    jmeno = "Karel"
    vek = 42
    print("{0} má {1} let.".format(jmeno, vek))
    print("Za deset let mu bude {0}.".format(vek + 10))
    ```

    Do závorek můžeme kromě pořadového čísla hodnoty napsat i <b>formátovací specifikaci</b>
    za dvojtečkou. Ta určí šířku pole, zarovnání a počet desetinných míst:

    * <code>{0:10}</code> &ndash; šířka 10 znaků (text se zarovná vlevo, čísla vpravo),
    * <code>{0:&gt;10}</code> a <code>{0:&lt;10}</code> &ndash; zarovnání vpravo a vlevo,
    * <code>{0:^10}</code> &ndash; zarovnání na střed,
    * <code>{0:.2f}</code> &ndash; desetinné číslo na dvě desetinná místa,
    * <code>{0:8.2f}</code> &ndash; totéž v poli širokém 8 znaků.

    Díky tomu snadno vypíšeme třeba úhlednou účtenku:

    ```
    polozky = [("Rohlík", 10, 2.5), ("Mléko polotučné", 2, 15.9), ("Sýr eidam", 1, 42.9)]
    celkem = 0
    print("{0:<18}{1:>5}{2:>11}".format("Zboží", "Ks", "Cena"))
    print("-" * 31)
    for nazev, kusy, cena in polozky:
        print("{0:<18}{1:>5}{2:>11.2f}".format(nazev, kusy, kusy * cena))
        celkem += kusy * cena
    print("-" * 31)
    print("{0:<23}{1:>11.2f} Kč".format("Celkem", celkem))
    ```

    [[obr1.png|Výstup programu účtenka]]

    Starší programy používají k formátování operátor <code>%</code>, se kterým jsme se krátce setkali
    u násobilky v <a href="0007-02.htm">sedmé lekci</a>. Zápis <code>"%5.2f" % cislo</code> dělá
    totéž co <code>"{0:5.2f}".format(cislo)</code>. Oba způsoby fungují, v nových programech ale
    dávejte přednost metodě <code>format</code>.

    = Když uživatel zadá nesmysl

    Funkce <code>int</code> skončí chybou <code>ValueError</code>, dostane-li text, který není číslem.
    Takové chyby se v Pythonu nazývají <b>výjimky</b> a dají se zachytit konstrukcí
    <code>try</code> &ndash; <code>except</code>. Příkazy v bloku <code>try</code> se provedou
    normálně; pokud v nich vznikne uvedená výjimka, program nespadne, ale pokračuje blokem
    <code>except</code>:

    ```
    while True:
        text = input("Zadej věk: ")
        try:
            vek = int(text)
        except ValueError:
            print("To není celé číslo, zkus to znovu.")
            continue
        if 0 <= vek <= 130:
            break
        print("Věk musí být mezi 0 a 130.")
    print("Děkuji.")
    ```

    [[obr2.png|Opakované zadávání, dokud není vstup v pořádku]]

    Takovou kontrolu budete v programech potřebovat často, proto je rozumné schovat ji do funkce,
    například <code>nacti_cislo(vyzva, od, do)</code>. Napsat ji je jedním z dnešních úkolů.

    ! POZOR: Nikdy nepište <code>except:</code> bez uvedení typu výjimky, pokud k tomu nemáte velmi
    dobrý důvod. Zachytíte tím i chyby, o kterých byste vědět chtěli &ndash; třeba překlep ve jménu
    proměnné &ndash; a jejich hledání pak bude velmi obtížné.

    = Parametry příkazového řádku

    Program nemusí data vždy získávat dotazem. Často je dostane už při spuštění, jako parametry
    příkazového řádku. Najdete je v seznamu <code>argv</code> z modulu <code>sys</code>; na indexu 0
    je jméno samotného programu:

    ```
    import sys

    if len(sys.argv) < 3:
        print("Použití: python soucet.py ČÍSLO ČÍSLO")
        sys.exit(1)
    a = float(sys.argv[1])
    b = float(sys.argv[2])
    print("{0} + {1} = {2}".format(a, b, a + b))
    ```

    Program spustíme příkazem <code>python soucet.py 2.5 4</code>. Funkce <code>sys.exit</code>
    program ukončí; číslo, které jí předáme, se vrátí operačnímu systému jako kód ukončení
    (nula znamená úspěch).

    = Úkoly na procvičení

    * Napište funkci <code>nacti_cislo(vyzva, od, do)</code>, která se ptá tak dlouho, dokud
      uživatel nezadá celé číslo v zadaném rozsahu, a pak ho vrátí.
    * Vypište tabulku druhých mocnin a odmocnin čísel 1 až 20, zarovnanou do sloupců, odmocniny na
      tři desetinná místa.
    * Program dostane na příkazovém řádku libovolný počet čísel a vypíše jejich součet a průměr.

    Další lekce bude věnována <a href="0011.htm">řetězcům</a>.
    """,
)

# ---------------------------------------------------------------- lekce 11
import unicodedata  # noqa: E402

_SYMBOL_NAMES = {
    " ": "mezera", "!": "vykřičník", '"': "uvozovky", "#": "mřížka", "$": "dolar",
    "%": "procento", "&": "ampersand", "'": "apostrof", "(": "levá kulatá závorka",
    ")": "pravá kulatá závorka", "*": "hvězdička", "+": "plus", ",": "čárka",
    "-": "spojovník, minus", ".": "tečka", "/": "lomítko", ":": "dvojtečka", ";": "středník",
    "<": "menší než", "=": "rovnítko", ">": "větší než", "?": "otazník", "@": "zavináč",
    "[": "levá hranatá závorka", "\\": "zpětné lomítko", "]": "pravá hranatá závorka",
    "^": "stříška", "_": "podtržítko", "`": "obrácený apostrof", "{": "levá složená závorka",
    "|": "svislá čára", "}": "pravá složená závorka", "~": "vlnovka", "€": "euro",
    "‚": "dolní jednoduchá uvozovka", "„": "dolní dvojitá uvozovka", "…": "výpustka",
    "†": "křížek", "‡": "dvojitý křížek", "‰": "promile", "‹": "jednoduchá lomená uvozovka vlevo",
    "›": "jednoduchá lomená uvozovka vpravo", "‘": "horní jednoduchá uvozovka (levá)",
    "’": "horní jednoduchá uvozovka (pravá)", "“": "horní dvojitá uvozovka (levá)",
    "”": "horní dvojitá uvozovka (pravá)", "•": "odrážka", "–": "pomlčka", "—": "dlouhá pomlčka",
    "™": "ochranná známka", "\u00a0": "nezlomitelná mezera", "ˇ": "háček", "˘": "oblouček",
    "¤": "obecný symbol měny", "¦": "přerušená svislá čára", "§": "paragraf", "¨": "přehláska",
    "©": "copyright", "«": "levé francouzské uvozovky", "¬": "negace", "\u00ad": "měkký spojovník",
    "®": "registrovaná ochranná známka", "°": "stupeň", "±": "plus minus", "˛": "ocásek",
    "´": "čárka (samostatný akcent)", "µ": "mikro", "¶": "konec odstavce", "·": "tečka uprostřed",
    "¸": "cedila", "»": "pravé francouzské uvozovky", "˝": "dvojitá čárka", "˙": "tečka nad",
    "×": "krát", "÷": "děleno", "ß": "ostré s (němčina)",
}
_MARKS = {
    "ACUTE": "s čárkou", "CARON": "s háčkem", "RING ABOVE": "s kroužkem",
    "DIAERESIS": "s přehláskou", "CEDILLA": "s cedilou", "OGONEK": "s ocáskem",
    "DOUBLE ACUTE": "s dvojitou čárkou", "CIRCUMFLEX": "s vokáněm", "BREVE": "s obloučkem",
    "DOT ABOVE": "s tečkou", "STROKE": "se škrtnutím",
}


def _char_name(ch):
    if ch in _SYMBOL_NAMES:
        return _SYMBOL_NAMES[ch]
    if ch.isdigit():
        return "číslice " + ch
    if ch.isalpha():
        name = unicodedata.name(ch)
        case = "velké písmeno " if ch.isupper() else "malé písmeno "
        base = name.split(" LETTER ")[1].split(" WITH ")[0]
        mark = _MARKS.get(name.split(" WITH ")[1], "") if " WITH " in name else ""
        return (case + (base if ch.isupper() else base.lower()) + " " + mark).strip()
    return ""


def _char_table():
    rows = ['<table border="1" cellspacing="0" cellpadding="2" width="90%">',
            '<tr bgcolor="#1F3A68"><th><font color="#FFFFFF">Kód</font></th><th><font color="#FFFFFF">Hex</font></th>'
            '<th><font color="#FFFFFF">Znak</font></th><th><font color="#FFFFFF">V HTML</font></th>'
            '<th><font color="#FFFFFF">Popis</font></th></tr>']
    shown = {"<": "&lt;", ">": "&gt;", "&": "&amp;", '"': "&quot;", "\u00a0": "&nbsp;", "\u00ad": "&shy;"}
    for code in range(32, 256):
        if code == 127:
            continue
        try:
            ch = bytes([code]).decode("cp1250")
        except UnicodeDecodeError:
            continue
        rows.append('<tr><td align="right">%d</td><td align="center">%02X</td><td align="center"><b>%s</b></td>'
                    '<td><code>&amp;#%d;</code></td><td>%s</td></tr>'
                    % (code, code, shown.get(ch, ch), ord(ch), _char_name(ch)))
    rows.append("</table>")
    return "\n".join(rows)


chapter(
    name="0011", id=1216, date="23. 3. 2009",
    title="Řetězce", keywords="řetězec, str, kódování, metody řetězců",
    heading=["<H2>Lekce 11 -řetězce</H2>"],
    perex="Text je všude: jména, adresy, zprávy, obsah webových stránek. Dnes se podíváme, co všechno "
          "Python s řetězci dokáže, a na závěr si vysvětlíme, jak počítač ukládá česká písmena.",
    pictures=[
        ("obr1.png", "cells", dict(title="s = \"Python\"", cells=[
            ("s[0]", "P"), ("s[1]", "y"), ("s[2]", "t"), ("s[3]", "h"), ("s[4]", "o"), ("s[5]", "n")],
            indexes=[-6, -5, -4, -3, -2, -1])),
        ("obr2.gif", "table", dict(header=["Znak", "Windows-1250", "ISO 8859-2", "UTF-8"], rows=[
            ["č", "E8", "E8", "C4 8D"], ["ř", "F8", "F8", "C5 99"], ["š", "9A", "B9", "C5 A1"],
            ["ž", "9E", "BE", "C5 BE"], ["ť", "9D", "BB", "C5 A5"], ["Š", "8A", "A9", "C5 A0"]])),
    ],
    body="""
    = Řetězec jako posloupnost znaků

    Řetězec (typ <code>str</code>) je posloupnost znaků. Zapisujeme ho do uvozovek nebo apostrofů
    &ndash; obojí znamená totéž, takže si můžete vybrat podle toho, který znak se v textu vyskytuje:
    <code>'Řekl: "Ahoj."'</code> nebo <code>"To je Honzův pes"</code>. Pro delší text přes více
    řádků slouží trojité uvozovky.

    Se znaky řetězce pracujeme stejně jako s prvky seznamu: mají indexy od nuly, fungují záporné
    indexy i výřezy a délku zjistíme funkcí <code>len</code>. Na rozdíl od seznamu ale řetězec
    <b>nelze měnit</b>. Zápis <code>s[0] = "J"</code> skončí chybou; místo toho musíme vytvořit nový
    řetězec, třeba <code>s = "J" + s[1:]</code>.

    [[obr1.png|Indexy znaků v řetězci]]

    ```
    s = "Python"
    print(s[0], s[-1])       # P n
    print(s[1:4])            # yth
    print(s[::-1])           # nohtyP  (obrácený řetězec)
    print(len(s))            # 6
    ```

    = Speciální znaky

    Některé znaky do řetězce nenapíšeme přímo. Zapisují se pomocí zpětného lomítka, takzvanou
    <b>escape sekvencí</b>: <code>\\n</code> je konec řádku, <code>\\t</code> tabulátor,
    <code>\\"</code> uvozovka uvnitř řetězce v uvozovkách a <code>\\\\</code> samotné zpětné lomítko.
    Pozor na to u cest k souborům ve Windows: <code>"C:\\novy\\text.txt"</code> obsahuje konec řádku
    a tabulátor! Pište proto <code>"C:\\\\novy\\\\text.txt"</code>, nebo použijte takzvaný surový
    řetězec <code>r"C:\\novy\\text.txt"</code>, ve kterém zpětné lomítko nemá zvláštní význam.

    = Metody řetězců

    Řetězce mají desítky užitečných metod. Protože řetězec nelze změnit, každá z nich vrací
    <b>nový</b> řetězec a původní zůstává beze změny. Nejčastěji použijete tyto:

    * <code>upper()</code> a <code>lower()</code> &ndash; převod na velká a malá písmena,
    * <code>strip()</code> &ndash; odstranění mezer a konců řádků na začátku a na konci,
    * <code>replace(co, cim)</code> &ndash; nahrazení všech výskytů podřetězce,
    * <code>find(co)</code> &ndash; pozice prvního výskytu, nebo -1, když podřetězec chybí,
    * <code>startswith(co)</code> a <code>endswith(co)</code> &ndash; test začátku a konce,
    * <code>split(oddelovac)</code> &ndash; rozdělení na seznam částí,
    * <code>oddelovac.join(seznam)</code> &ndash; opak <code>split</code>, spojení seznamu řetězců.

    ```
    veta = "  Žluťoučký kůň úpěl ďábelské ódy.  "
    print(veta.strip())
    print(veta.upper())            # ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY.
    print(veta.replace("kůň", "pes"))
    slova = veta.split()
    print(len(slova), "slov")      # 5 slov
    print("-".join(slova))
    ```

    Všimněte si, že metody <code>upper</code> a <code>lower</code> si bez problémů poradí i s českými
    písmeny. Převodem na malá písmena také vyřešíme problém z <a href="0007-02.htm">lekce o cyklu
    for</a>: před počítáním samohlásek stačí slovo převést metodou <code>lower()</code>.

    = Hledání v textu

    Operátorem <code>in</code> zjistíme, zda řetězec obsahuje jiný řetězec. Porovnání rozlišuje velká
    a malá písmena, takže chceme-li hledat bez ohledu na velikost, převedeme oba řetězce nejprve na
    velká (nebo malá) písmena:

    ```
    text = "Praha je hlavní město České republiky."
    hledane = input("Co hledáte? ")
    if hledane.upper() in text.upper():
        print("Nalezeno na pozici", text.upper().find(hledane.upper()))
    else:
        print("Nenalezeno.")
    ```

    Převod na velká písmena ale nesjednotí písmena s diakritikou a bez ní: slovo „mesto“ v textu
    nenajdete, protože tam je „město“. Vyhledávání, které diakritiku ignoruje, je složitější úloha,
    ke které se možná někdy vrátíme.

    = Jak počítač ukládá znaky

    Počítač umí ukládat jen čísla, proto má každý znak přidělený číselný <b>kód</b>. Funkce
    <code>ord</code> vrátí kód znaku, funkce <code>chr</code> naopak znak podle kódu:
    <code>ord("A")</code> je 65 a <code>chr(382)</code> je „ž“. Python pracuje se znaky podle
    mezinárodní normy Unicode, ve které má svůj kód každý znak všech světových písem.

    Když se ale text ukládá do souboru nebo posílá po síti, musí se převést na posloupnost bajtů.
    Způsob převodu se nazývá <b>kódování</b>. Anglická abeceda, číslice a běžná interpunkce mají ve
    všech rozšířených kódováních stejné kódy (to je takzvané ASCII, kódy 32 až 126). S českými písmeny
    je to horší: každé kódování je ukládá jinak.

    [[obr2.gif|Kódy některých českých písmen v různých kódováních]]

    V českých Windows se nejčastěji setkáte s kódováním <b>Windows-1250</b> (v Pythonu se jmenuje
    <code>cp1250</code>), v Linuxu a na webu s <b>ISO 8859-2</b> a stále častěji s <b>UTF-8</b>,
    které zvládne všechny znaky Unicode. Text převedeme na bajty metodou <code>encode</code> a bajty
    zpět na text metodou <code>decode</code>:

    ```
    >>> "čeština".encode("cp1250")
    b'\\xe8e\\x9atina'
    >>> "čeština".encode("utf-8")
    b'\\xc4\\x8de\\xc5\\xa1tina'
    >>> b'\\xe8e\\x9atina'.decode("cp1250")
    'čeština'
    ```

    Pokud text dekódujete jiným kódováním, než ve kterém byl uložen, dostanete nesmyslné znaky
    &ndash; typicky „Ä�eĹˇtina“ místo „čeština“. Jistě jste se s tím na webu už setkali. Kódováním
    se budeme znovu zabývat v lekci o <a href="0013.htm">práci se soubory</a>.

    = Tabulka znaků Windows-1250

    Pro referenci přikládáme úplnou tabulku tisknutelných znaků kódování Windows-1250. Sloupec
    „V HTML“ ukazuje, jak znak zapsat do webové stránky číselnou entitou, což se hodí, pokud si nejste
    jisti kódováním stránky. Kódy 128 až 159 jsou specialitou Windows &ndash; v normě ISO 8859-2
    jsou na jejich místě řídicí znaky, a proto se české „š“, „ť“ a „ž“ v obou kódováních liší.

    %(table)s

    ! ZAJÍMAVOST: Pět kódů v rozsahu 128 až 159 (129, 131, 136, 144 a 152) nemá v kódování
    Windows-1250 přiřazený žádný znak. V tabulce proto chybějí.

    = Úkoly na procvičení

    * Napište funkci, která zjistí, zda je zadané slovo nebo věta palindrom (čte se stejně zpředu
      i zezadu), bez ohledu na mezery a velikost písmen. Vyzkoušejte ji na větě „Kobyla má malý bok“.
    * Napište funkci, která z řetězce odstraní diakritiku (á &rarr; a, č &rarr; c, ...). Využijte
      slovník nebo dva řetězce stejné délky.
    * Program načte větu a vypíše ji tak, aby každé slovo začínalo velkým písmenem.
    """ % {"table": _char_table()},
)
