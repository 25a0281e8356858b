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
    a klávesnice. Pokud se někde zaseknete, zeptejte se v <a href="http://forum.kodovna.example/python/">diskusním
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
            '<th><font color="#FFFFFF">ISO 8859-2</font></th><th><font color="#FFFFFF">UTF-8</font></th>'
            '<th><font color="#FFFFFF">Popis</font></th></tr>']
    shown = {"<": "&lt;", ">": "&gt;", "&": "&amp;", '"': "&quot;", "\u00a0": "&nbsp;", "\u00ad": "&shy;"}
    for code in range(32, 256):
        if code == 127:
            continue
        try:
            ch = bytes([code]).decode("cp1250")
        except UnicodeDecodeError:
            continue
        try:
            latin2 = "%02X" % ch.encode("iso8859_2")[0]
        except UnicodeEncodeError:
            latin2 = "&ndash;"
        utf8 = " ".join("%02X" % b for b in ch.encode("utf-8"))
        rows.append('<tr><td align="right">%d</td><td align="center">%02X</td><td align="center"><b>%s</b></td>'
                    '<td><code>&amp;#%d;</code></td><td align="center">%s</td><td align="center">%s</td><td>%s</td></tr>'
                    % (code, code, shown.get(ch, ch), ord(ch), latin2, utf8, _char_name(ch)))
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
    &ndash; typicky „ÄŤeĹˇtina“ místo „čeština“. Jistě jste se s tím na webu už setkali. Kódováním
    se budeme znovu zabývat v lekci o <a href="0013.htm">práci se soubory</a>.

    = Tabulka znaků Windows-1250

    Pro referenci přikládáme úplnou tabulku tisknutelných znaků kódování Windows-1250. Sloupec
    „V HTML“ ukazuje, jak znak zapsat do webové stránky číselnou entitou, což se hodí, pokud si nejste
    jisti kódováním stránky. Další dva sloupce uvádějí kód téhož znaku v kódování ISO 8859-2 (pomlčka
    znamená, že tam znak chybí) a bajty, kterými ho zapíše UTF-8. Kódy 128 až 159 jsou specialitou Windows &ndash; v normě ISO 8859-2
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
    """ % {"table": _char_table().replace("\n", "\n    ")},
)

# ---------------------------------------------------------------- lekce 12
chapter(
    name="0012-01", id=1217, date="30. 3. 2009",
    title="Objekty a třídy", keywords="objekt, třída, class, instance",
    heading=["<H2>Lekce 12 - Objekty a třídy</H2>"],
    perex="Dvanáctou lekcí začínáme nejrozsáhlejší téma seriálu: objektově orientované programování. "
          "Nelekejte se cizího názvu, objekty jste ve skutečnosti používali od první lekce.",
    pictures=[
        ("obr1.png", "table", dict(header=["Třída Pes", ""], rows=[
            ["atributy", "jmeno, vek, rasa"], ["metody", "stekej(), narozeniny()"],
            ["instance", "rex, alik, bety"]])),
        ("obr2.png", "cells", dict(title="Tři instance třídy Pes", cells=[
            ("rex", "Rex, 3"), ("alik", "Alík, 7"), ("bety", "Bety, 1")])),
    ],
    body="""
    = Všechno je objekt

    V Pythonu je každá hodnota <b>objekt</b>: číslo, řetězec, seznam i funkce. Objekt v sobě spojuje
    <b>data</b> (třeba znaky řetězce) a <b>operace</b>, které s těmi daty umí pracovat (metody jako
    <code>upper</code> nebo <code>split</code>). Když píšete <code>"ahoj".upper()</code>, žádáte objekt
    řetězce, aby vám vrátil svou verzi psanou velkými písmeny.

    Každý objekt je určitého typu, kterému se říká <b>třída</b>. Třída je jakýsi plán nebo šablona:
    popisuje, jaká data objekty dané třídy mají a co umějí. Konkrétní objekt vytvořený podle třídy se
    nazývá <b>instance</b>. Řetězce „pes“ a „kočka“ jsou dvě různé instance téže třídy
    <code>str</code>.

    = Vlastní třída

    Skutečná síla objektů se ukáže, když si začneme vytvářet vlastní třídy. Představme si program pro
    psí útulek. O každém psovi potřebujeme evidovat jméno, věk a rasu:

    ```
    class Pes:
        def __init__(self, jmeno, vek, rasa):
            self.jmeno = jmeno
            self.vek = vek
            self.rasa = rasa

        def stekej(self):
            print(self.jmeno + ": Haf haf!")

    rex = Pes("Rex", 3, "německý ovčák")
    alik = Pes("Alík", 7, "kříženec")
    rex.stekej()
    print(alik.jmeno, "má", alik.vek, "let.")
    ```

    Třídu definuje klíčové slovo <code>class</code>, za ním následuje jméno třídy (podle zvyklostí
    s velkým počátečním písmenem) a dvojtečka. Uvnitř třídy definujeme <b>metody</b> &ndash; funkce,
    které patří ke třídě.

    [[obr1.png|Třída Pes, její atributy, metody a instance]]

    = Konstruktor a self

    Metoda se zvláštním jménem <code>__init__</code> (dvě podtržítka na každé straně) je
    <b>konstruktor</b>. Python ji zavolá automaticky při vytváření nové instance a předá jí hodnoty,
    které jsme napsali do závorek za jméno třídy. Konstruktor obvykle uloží tyto hodnoty do
    <b>atributů</b> objektu.

    Prvním parametrem každé metody je <code>self</code> &ndash; odkaz na objekt, se kterým metoda
    právě pracuje. Při volání <code>rex.stekej()</code> ho nepíšeme, Python za <code>self</code>
    dosadí objekt <code>rex</code> sám. Díky tomu metoda ví, <i>čí</i> jméno má vypsat. Zápis
    <code>self.jmeno</code> pak znamená „atribut jmeno tohoto objektu“.

    [[obr2.png|Každá instance má vlastní hodnoty atributů]]

    = Proč se s tím obtěžovat

    Stejná data bychom mohli uložit do slovníku nebo n-tice. Výhodou třídy je, že data a kód, který
    s nimi pracuje, jsou pohromadě. Když někdo bude číst váš program, najde všechno, co se týká psů,
    na jednom místě. A když budete chtít přidat třeba evidenci očkování, upravíte jen třídu
    <code>Pes</code> a zbytek programu zůstane beze změny.

    ! TERMINOLOGIE: V české literatuře se setkáte i s pojmy „objektový typ“ místo třída, „datová
    složka“ nebo „vlastnost“ místo atribut a „členská funkce“ místo metoda. Znamenají totéž.

    Ve <a href="0012-02.htm">druhé části</a> dvanácté lekce se podrobněji podíváme na metody
    a atributy.
    """,
)

chapter(
    name="0012-02", id=1218, date="30. 3. 2009",
    title="Metody a atributy", keywords="metody, atributy, __str__, zapouzdření",
    heading=["<H2>Lekce 12 - Metody &amp; atributy</H2>"],
    lf=True, counter=True, ad=True,
    perex="Třídu už umíme vytvořit. Teď jí vdechneme život: napíšeme metody, které mění stav objektu, "
          "naučíme objekty hezky se vypsat a povíme si, jak chránit data před nechtěnými změnami.",
    pictures=[
        ("obr1.png", "console", dict(title="Bankovní účet", lines=[
            ">>> ucet = Ucet(\"Jan Novák\")", ">>> ucet.vloz(1500)", ">>> ucet.vyber(400)",
            ">>> print(ucet)", "Účet Jan Novák: 1100 Kč", ">>> ucet.vyber(5000)",
            "Nedostatek prostředků na účtu!"])),
    ],
    body="""
    = Metody mění stav objektu

    Hodnoty atributů objektu v určitém okamžiku nazýváme jeho <b>stavem</b>. Metody mohou stav číst
    i měnit. Klasickým příkladem je bankovní účet: má majitele a zůstatek, do účtu můžeme vkládat
    a vybírat z něj:

    ```
    class Ucet:
        def __init__(self, majitel):
            self.majitel = majitel
            self.zustatek = 0

        def vloz(self, castka):
            self.zustatek += castka

        def vyber(self, castka):
            if castka > self.zustatek:
                print("Nedostatek prostředků na účtu!")
                return False
            self.zustatek -= castka
            return True
    ```

    Všimněte si, že zůstatek nepředáváme konstruktoru &ndash; každý nový účet začíná na nule.
    Metoda <code>vyber</code> navíc kontroluje, zda je na účtu dost peněz. Kdyby program měnil
    atribut <code>zustatek</code> přímo, musel by tuto kontrolu opakovat na každém místě.

    = Metoda __str__

    Zkusíte-li objekt vypsat funkcí <code>print</code>, dostanete něco jako
    <code>&lt;__main__.Ucet object at 0x00B2C3F0&gt;</code>. To asi nechcete. Definujete-li ve třídě
    metodu <code>__str__</code>, Python ji použije vždy, když potřebuje objekt převést na text:

    ```
    def __str__(self):
        return "Účet {0}: {1} Kč".format(self.majitel, self.zustatek)
    ```

    [[obr1.png|Práce s objektem účtu v interpretu]]

    Metod se jmény obklopenými dvěma podtržítky je víc: <code>__len__</code> určí, co vrátí funkce
    <code>len</code>, <code>__eq__</code> jak se objekty porovnávají operátorem <code>==</code>,
    <code>__add__</code> co znamená <code>+</code>. Říká se jim <b>speciální metody</b> a umožňují,
    aby se vaše objekty chovaly jako vestavěné typy.

    = Zapouzdření

    Objekt by měl sám hlídat, aby jeho stav dával smysl. Záporný zůstatek účtu nebo pes starý minus
    tři roky jsou nesmysly. Ideální je, když se ostatní části programu k atributům vůbec nedostanou
    přímo a pracují s objektem jen přes jeho metody. Tomuto principu se říká <b>zapouzdření</b>.

    Python na rozdíl od jiných jazyků přístup k atributům násilím nezakazuje. Platí ale dohoda:
    atribut, jehož jméno začíná podtržítkem (<code>self._zustatek</code>), je „soukromý“ a zvenku se
    nemá používat. Programátoři v Pythonu rádi říkají, že jsou „všichni dospělí“ &ndash; dohoda
    stačí.

    ```
    class Teplomer:
        def __init__(self):
            self._stupne = 20.0

        def nastav(self, stupne):
            if stupne < -273.15:
                raise ValueError("Teplota pod absolutní nulou!")
            self._stupne = stupne

        def fahrenheit(self):
            return self._stupne * 9 / 5 + 32
    ```

    Příkaz <code>raise</code> vyvolá výjimku &ndash; stejnou, jakou vyvolá funkce <code>int</code>
    při chybném vstupu. Volající ji může zachytit pomocí <code>try</code> a <code>except</code>, jak
    jsme si ukázali v lekci o <a href="0010.htm">vstupu a výstupu</a>.

    = Atributy třídy

    Atributy, které jsme dosud vytvářeli přes <code>self</code>, patří konkrétní instanci. Atribut
    můžeme definovat i přímo ve třídě, mimo metody. Takový atribut sdílejí všechny instance, hodí se
    třeba pro konstanty nebo počítadla:

    ```
    class Ucet:
        urok = 1.5          # společný pro všechny účty, v procentech
        pocet_uctu = 0

        def __init__(self, majitel):
            self.majitel = majitel
            self.zustatek = 0
            Ucet.pocet_uctu += 1
    ```

    ! CVIČENÍ: Doplňte třídu <code>Ucet</code> o metodu <code>pripis_urok()</code>, která zvýší
    zůstatek o roční úrok, a o metodu <code>prevod(cil, castka)</code>, která převede peníze na jiný
    účet. Převod se nesmí provést, pokud na účtu není dost peněz.

    V <a href="0012-03.htm">poslední části</a> lekce o objektech si vysvětlíme dědičnost.
    """,
)

chapter(
    name="0012-03", id=1219, date="6. 4. 2009",
    title="Dědičnost", keywords="dědičnost, polymorfismus, super",
    heading=["<H2>Lekce 12 - Dědičnost</H2>"],
    perex="Dědičnost umožňuje vytvořit novou třídu na základě existující a převzít z ní všechno, co "
          "už umí. Dnes si ukážeme, jak na to a proč je dědičnost tak užitečná.",
    pictures=[
        ("obr1.png", "cells", dict(title="Hierarchie tříd", cells=[
            ("předek", "Zvire"), ("potomek", "Pes"), ("potomek", "Kocka"), ("potomek", "Kachna")])),
    ],
    body="""
    = Předek a potomek

    Představte si, že kromě psů chceme v útulku evidovat i kočky. Kočka má stejně jako pes jméno
    a věk, ale neštěká, nýbrž mňouká, a místo rasy nás zajímá, zda je vykastrovaná. Mohli bychom
    napsat třídu <code>Kocka</code> úplně znovu, opakovali bychom ale spoustu kódu. Lepší je
    vytvořit obecnou třídu <code>Zvire</code> se společnými vlastnostmi a třídy <code>Pes</code>
    a <code>Kocka</code> z ní <b>odvodit</b>:

    ```
    class Zvire:
        def __init__(self, jmeno, vek):
            self.jmeno = jmeno
            self.vek = vek

        def predstav_se(self):
            print("Jsem {0} a je mi {1} let.".format(self.jmeno, self.vek))

        def ozvi_se(self):
            print("...")

    class Pes(Zvire):
        def ozvi_se(self):
            print(self.jmeno + ": Haf!")

    class Kocka(Zvire):
        def ozvi_se(self):
            print(self.jmeno + ": Mňau!")
    ```

    Jméno třídy v závorce za <code>class Pes</code> určuje <b>předka</b>. Třída <code>Pes</code> je
    jeho <b>potomkem</b> a zdědí všechny jeho atributy a metody: konstruktor i metodu
    <code>predstav_se</code> napsanou v předkovi může pes používat, jako by byly jeho vlastní.
    Metodu <code>ozvi_se</code> ale potomek <b>přepisuje</b> vlastní verzí.

    [[obr1.png|Třída Zvire a její potomci]]

    = Polymorfismus

    Protože všechna zvířata mají metodu <code>ozvi_se</code>, můžeme s nimi pracovat stejně, aniž
    bychom se starali, o jaké zvíře přesně jde. Každý objekt zavolá „tu svou“ verzi metody:

    ```
    utulek = [Pes("Rex", 3), Kocka("Micka", 5), Pes("Alík", 7)]
    for zvire in utulek:
        zvire.predstav_se()
        zvire.ozvi_se()
    ```

    Tato vlastnost se jmenuje <b>polymorfismus</b> (mnohotvárnost). Díky ní můžeme později přidat
    třídu <code>Kachna</code> a cyklus výše bude fungovat beze změny.

    = Rozšíření konstruktoru

    Co když potomek potřebuje atribut navíc? Napíšeme mu vlastní konstruktor, ve kterém nejprve
    zavoláme konstruktor předka pomocí funkce <code>super()</code>, a pak doplníme, co je potřeba:

    ```
    class Pes(Zvire):
        def __init__(self, jmeno, vek, rasa):
            super().__init__(jmeno, vek)
            self.rasa = rasa

        def predstav_se(self):
            super().predstav_se()
            print("Moje rasa je " + self.rasa + ".")
    ```

    Stejným způsobem může metoda potomka zavolat původní metodu předka a jen doplnit něco navíc,
    jako to dělá metoda <code>predstav_se</code> v ukázce.

    = Kdy dědičnost použít

    Dědičnost je silný nástroj, ale neměla by se používat všude. Dobrý test je otázka „je to druh
    ...?“: pes <i>je</i> druh zvířete, proto může být potomkem třídy <code>Zvire</code>. Auto ale
    není druh motoru, i když motor má &ndash; v takovém případě je motor atributem auta, ne jeho
    předkem. Tomuto vztahu se říká <b>skládání</b> (kompozice) a v praxi se používá častěji než
    dědičnost.

    ! VĚDĚLI JSTE? Všechny třídy v Pythonu mají společného předka, třídu <code>object</code>.
    Pokud předka neuvedete, Python ho doplní sám. Odtud objekty „umějí“ například metodu
    <code>__str__</code>, i když jste ji nenapsali.

    = Úkoly na procvičení

    * Vytvořte třídu <code>Tvar</code> s metodou <code>obsah()</code> a potomky <code>Obdelnik</code>,
      <code>Ctverec</code> a <code>Kruh</code>. Má být čtverec potomkem obdélníku?
    * Uložte několik různých tvarů do seznamu a vypište jejich celkový obsah.
    * Přidejte do útulku kachnu a ověřte, že cyklus z příkladu funguje beze změny.

    V <a href="0013.htm">příští lekci</a> odbočíme od objektů k práci se soubory.
    """,
)

# ---------------------------------------------------------------- lekce 13
chapter(
    name="0013", id=1220, date="14. 4. 2009",
    title="Práce se soubory", keywords="soubory, open, read, write, with",
    heading=["<H2>Lekce 13 - Práce se soubory</H2>"],
    body_tag=PRINT_BODY_QUOTED, head_script=True, counter=True,
    perex="Všechna data, se kterými naše programy dosud pracovaly, zmizela, jakmile program skončil. "
          "Dnes se naučíme data ukládat do souborů a zase je načítat.",
    pictures=[
        ("obr1.gif", "table", dict(header=["Režim", "Význam"], rows=[
            ["\"r\"", "čtení (výchozí)"], ["\"w\"", "zápis, obsah se smaže"],
            ["\"a\"", "připisování na konec"], ["\"r+\"", "čtení i zápis"],
            ["\"rb\", \"wb\"", "binární čtení a zápis"]])),
        ("obr2.jpg", "console", dict(title="Výpis souboru adresar.txt", lines=[
            "C:\\Programy> python vypis.py adresar.txt", "  1: Novák;Jan;602 111 222",
            "  2: Dvořáková;Eva;737 333 444", "  3: Šťastný;Řehoř;605 555 666",
            "Souboru má 3 řádky."])),
    ],
    body="""
    = Otevření souboru

    Se souborem se pracuje ve třech krocích: soubor otevřeme, čteme z něj nebo do něj zapisujeme
    a nakonec ho zavřeme. K otevření slouží vestavěná funkce <code>open</code>. Dostane jméno
    souboru a <b>režim</b>, který říká, co se souborem chceme dělat, a vrátí objekt souboru:

    [[obr1.gif|Režimy otevření souboru]]

    ```
    f = open("pozdrav.txt", "w", encoding="cp1250")
    f.write("Ahoj, tady je můj první soubor.\\n")
    f.write("Druhý řádek s háčky a čárkami: ěščřžýáíé\\n")
    f.close()
    ```

    Metoda <code>write</code> zapíše řetězec tak, jak je &ndash; konec řádku <code>\\n</code> musíme
    doplnit sami. Parametrem <code>encoding</code> určujeme kódování, ve kterém se má text uložit.
    Vzpomeňte si na <a href="0011.htm">lekci o řetězcích</a>: bez něj Python použije výchozí kódování
    systému, a soubor zapsaný v jednom počítači se pak může na jiném zobrazit s nesmyslnými znaky.

    ! DŮLEŽITÉ: Režim <code>"w"</code> existující soubor bez varování přepíše. Chcete-li data
    připojit na konec, použijte režim <code>"a"</code>.

    = Čtení souboru

    Textový soubor nejčastěji čteme po řádcích. Objekt souboru se chová jako posloupnost řádků,
    takže ho můžeme přímo procházet cyklem <code>for</code>:

    ```
    f = open("pozdrav.txt", encoding="cp1250")
    for radek in f:
        print(radek.rstrip("\\n"))
    f.close()
    ```

    Každý načtený řádek končí znakem <code>\\n</code> (kromě posledního, pokud soubor nekončí
    odřádkováním). Proto ho před výpisem odstraníme metodou <code>rstrip</code>, jinak bychom
    dostali mezi řádky prázdné řádky navíc. Celý soubor najednou načte metoda <code>read()</code>,
    seznam všech řádků metoda <code>readlines()</code>.

    Python při čtení v textovém režimu sjednocuje konce řádků. Soubory z Windows mají na konci řádku
    dva znaky (CR a LF, tedy <code>\\r\\n</code>), soubory z Linuxu jen jeden (LF). V programu ale
    vždy uvidíte jen <code>\\n</code>.

    = Příkaz with

    Zapomenout soubor zavřít je snadné, a když program skončí chybou uprostřed práce, na zavření se
    vůbec nedostane. Příkaz <code>with</code> zajistí, že se soubor zavře vždy, ať se stane cokoli:

    ```
    with open("adresar.txt", encoding="cp1250") as f:
        for cislo, radek in enumerate(f, 1):
            print("{0:3}: {1}".format(cislo, radek.rstrip("\\n")))
    ```

    Funkce <code>enumerate</code> k prvkům posloupnosti přidá pořadová čísla, v našem případě
    počínaje jedničkou. Soubor se zavře automaticky, jakmile program opustí odsazený blok.

    [[obr2.jpg|Očíslovaný výpis souboru]]

    = Když soubor neexistuje

    Pokus o otevření neexistujícího souboru ke čtení vyvolá výjimku <code>IOError</code>. Ošetříme
    ji známým způsobem:

    ```
    import sys

    jmeno = sys.argv[1]
    try:
        with open(jmeno, encoding="cp1250") as f:
            radky = f.readlines()
    except IOError:
        print("Soubor", jmeno, "nelze otevřít.")
        sys.exit(1)
    print("Souboru má", len(radky), "řádky.")
    ```

    = Ukládání strukturovaných dat

    Zapsat do souboru seznam jmen je snadné, ale co třeba adresář s jmény a telefony? Jednoduchou
    možností je zapisovat každý záznam na jeden řádek a jednotlivé údaje oddělit znakem, který se
    v datech nevyskytuje, například středníkem. Při načtení pak řádek rozdělíme metodou
    <code>split</code>:

    ```
    adresar = [("Novák", "Jan", "602 111 222"), ("Dvořáková", "Eva", "737 333 444")]

    with open("adresar.txt", "w", encoding="cp1250") as f:
        for prijmeni, jmeno, telefon in adresar:
            f.write(prijmeni + ";" + jmeno + ";" + telefon + "\\n")

    nacteny = []
    with open("adresar.txt", encoding="cp1250") as f:
        for radek in f:
            nacteny.append(tuple(radek.rstrip("\\n").split(";")))
    ```

    Pro složitější data nabízí Python hotové moduly: <code>csv</code> pro tabulková data, která
    otevře i tabulkový procesor, <code>pickle</code> pro ukládání libovolných objektů a
    <code>json</code> pro výměnu dat s jinými programy. Jejich popis najdete v dokumentaci na adrese
    <a href="http://dokumentace.pythonovna.example/moduly/">http://dokumentace.pythonovna.example/moduly/</a>.

    = Úkoly na procvičení

    * Napište program, který spočítá řádky, slova a znaky v zadaném textovém souboru.
    * Rozšiřte překladač ze <a href="0009-02.htm">cvičení k deváté lekci</a> tak, aby si slovník
      ukládal do souboru a při dalším spuštění ho načetl.
    * Program převede textový soubor z kódování Windows-1250 do UTF-8.
    """,
)

# ---------------------------------------------------------------- lekce 14
chapter(
    name="0014-01", id=1221, date="20. 4. 2009",
    title="Formuláře", keywords="tkinter, okno, formulář, Label, Entry, Button",
    heading=["<H2>Lekce 14 - Formuláře</H2>"],
    section_heading=True,
    perex="Konečně se dostáváme k programům s okny! Textový výstup v příkazovém řádku vystřídají "
          "formuláře s popisky, vstupními poli a tlačítky. Pomůže nám s tím knihovna tkinter.",
    pictures=[
        ("obr1.png", "window", dict(title="Převod teplot", rows=[
            ("label", "Teplota ve stupních Celsia:"), ("entry", "36.6"),
            ("button", "Převést"), ("label", "36.6 °C = 97.9 °F")])),
    ],
    body="""
    = Knihovna tkinter

    Python obsahuje knihovnu <b>tkinter</b>, se kterou lze vytvářet programy s grafickým
    uživatelským rozhraním, tedy s okny, tlačítky a dalšími ovládacími prvky. Není nejmodernější ani
    nejhezčí, zato je součástí každé instalace Pythonu a funguje ve Windows i v Linuxu. Pro první
    seznámení s „okenním“ programováním je ideální.

    Nejjednodušší program s oknem vypadá takto:

    ```
    import tkinter

    okno = tkinter.Tk()
    okno.title("Moje první okno")
    popisek = tkinter.Label(okno, text="Ahoj, světe!")
    popisek.pack()
    okno.mainloop()
    ```

    Objekt třídy <code>Tk</code> je hlavní okno programu. Do něj vložíme <b>popisek</b>
    (<code>Label</code>) s textem a metodou <code>pack</code> ho v okně umístíme. Poslední řádek
    spustí <b>hlavní smyčku</b>: program čeká na akce uživatele a reaguje na ně, dokud uživatel okno
    nezavře. Teprve pak metoda <code>mainloop</code> skončí.

    = Ovládací prvky

    Prvkům okna se říká <b>widgety</b> nebo ovládací prvky. Každý je objektem určité třídy a při
    vytváření mu jako první parametr předáme okno, do kterého patří. Nejpoužívanější jsou:

    * <code>Label</code> &ndash; popisek, tedy text nebo obrázek, který uživatel nemůže měnit,
    * <code>Entry</code> &ndash; jednořádkové vstupní pole,
    * <code>Button</code> &ndash; tlačítko, které po stisku zavolá zadanou funkci,
    * <code>Text</code> &ndash; víceřádkové textové pole,
    * <code>Checkbutton</code>, <code>Radiobutton</code>, <code>Listbox</code> &ndash; zaškrtávací
      políčko, přepínač a seznam, podíváme se na ně <a href="0014-02.htm">příště</a>.

    = Formulář pro převod teplot

    Vezmeme náš starý program pro převod teplot a dáme mu okno. Formulář bude mít popisek, vstupní
    pole pro teplotu, tlačítko a popisek pro výsledek:

    ```
    import tkinter

    def prevod():
        try:
            c = float(pole.get())
        except ValueError:
            vysledek.config(text="Zadejte číslo!")
            return
        f = c * 9 / 5 + 32
        vysledek.config(text="{0} °C = {1:.1f} °F".format(c, f))

    okno = tkinter.Tk()
    okno.title("Převod teplot")
    tkinter.Label(okno, text="Teplota ve stupních Celsia:").pack(anchor="w", padx=10, pady=5)
    pole = tkinter.Entry(okno, width=30)
    pole.pack(padx=10)
    tkinter.Button(okno, text="Převést", command=prevod).pack(anchor="w", padx=10, pady=5)
    vysledek = tkinter.Label(okno, text="")
    vysledek.pack(anchor="w", padx=10, pady=5)
    okno.mainloop()
    ```

    [[obr1.png|Formulář pro převod teplot]]

    Parametr <code>command</code> tlačítka určuje funkci, která se zavolá po jeho stisknutí. Pozor:
    píšeme jen jméno funkce <code>prevod</code>, <b>bez závorek</b>. Se závorkami bychom funkci
    zavolali hned při vytváření tlačítka a tlačítku předali její výsledek. Metoda <code>get</code>
    vrací text napsaný ve vstupním poli, metoda <code>config</code> mění vlastnosti již vytvořeného
    prvku, v našem případě text popisku.

    = Rozmístění prvků

    Metoda <code>pack</code> skládá prvky pod sebe (nebo vedle sebe). Pro složitější formuláře je
    pohodlnější metoda <code>grid</code>, která prvky rozmístí do pomyslné tabulky podle čísla řádku
    a sloupce:

    ```
    tkinter.Label(okno, text="Jméno:").grid(row=0, column=0, sticky="e")
    tkinter.Entry(okno).grid(row=0, column=1)
    tkinter.Label(okno, text="Příjmení:").grid(row=1, column=0, sticky="e")
    tkinter.Entry(okno).grid(row=1, column=1)
    tkinter.Button(okno, text="Uložit").grid(row=2, column=1, sticky="w")
    ```

    Parametr <code>sticky</code> říká, ke které straně buňky se prvek přimkne; používají se světové
    strany v angličtině (<code>n</code>, <code>s</code>, <code>e</code>, <code>w</code>). V jednom
    okně nikdy nekombinujte <code>pack</code> a <code>grid</code> &ndash; program by zamrzl, protože
    by se oba správci rozmístění donekonečna přetahovali o místo.

    ! TIP: Podrobný přehled všech prvků knihovny tkinter a jejich vlastností najdete v příručce na
    <a href="http://tkinter-prirucka.example/">http://tkinter-prirucka.example/</a>.
    """,
)

chapter(
    name="0014-02", id=1222, date="20. 4. 2009",
    title="Ovládací prvky formuláře", keywords="Checkbutton, Radiobutton, Listbox, messagebox",
    heading=["<h2>Lekce 14 –ovládací prvky formuláře</h2>"],
    perex="Ve druhé části lekce o formulářích přidáme do oken zaškrtávací políčka, přepínače a seznamy "
          "a ukážeme si, jak zobrazit dialogové okno se zprávou.",
    pictures=[
        ("obr1.png", "window", dict(title="Objednávka pizzy", rows=[
            ("label", "Vyberte pizzu:"), ("list", ["Margherita", "Šunková", "Čtyři sýry", "Hawaii"]),
            ("check", "Extra sýr (+25 Kč)"), ("check", "Dovoz domů (+40 Kč)"),
            ("button", "Objednat")])),
        ("obr2.gif", "window", dict(title="Objednávka", rows=[
            ("label", "Objednávka přijata: Šunková"), ("label", "Cena celkem: 204 Kč"),
            ("button", "OK")])),
    ],
    body="""
    = Proměnné knihovny tkinter

    Zaškrtávací políčka a přepínače potřebují někam ukládat svůj stav. Knihovna tkinter k tomu má
    zvláštní objekty &ndash; <code>IntVar</code>, <code>StringVar</code> a <code>BooleanVar</code>.
    Obsah takové „proměnné“ čteme metodou <code>get</code> a nastavujeme metodou <code>set</code>.
    Když ji propojíme s ovládacím prvkem, prvek se při změně hodnoty sám překreslí a naopak:

    ```
    extra_syr = tkinter.BooleanVar()
    tkinter.Checkbutton(okno, text="Extra sýr (+25 Kč)", variable=extra_syr).pack(anchor="w")
    ...
    if extra_syr.get():
        cena += 25
    ```

    = Přepínače

    Přepínače (<code>Radiobutton</code>) se používají ve skupinách, ze kterých lze vybrat právě jednu
    možnost. Všechny přepínače skupiny sdílejí jednu proměnnou a každý z nich má svou hodnotu
    (<code>value</code>), kterou do proměnné uloží, když ho uživatel vybere:

    ```
    velikost = tkinter.StringVar(value="stredni")
    for text, hodnota in [("Malá", "mala"), ("Střední", "stredni"), ("Velká", "velka")]:
        tkinter.Radiobutton(okno, text=text, variable=velikost, value=hodnota).pack(anchor="w")
    ```

    = Seznam

    Prvek <code>Listbox</code> zobrazí seznam položek, ze kterých uživatel vybírá. Položky vkládáme
    metodou <code>insert</code>, vybranou položku zjistíme metodou <code>curselection</code>, která
    vrátí n-tici indexů vybraných položek (uživatel může vybrat i žádnou):

    ```
    seznam = tkinter.Listbox(okno, height=4)
    for pizza in ["Margherita", "Šunková", "Čtyři sýry", "Hawaii"]:
        seznam.insert("end", pizza)
    seznam.pack(fill="x", padx=10)
    ...
    vybrane = seznam.curselection()
    if not vybrane:
        print("Nic nevybráno")
    else:
        nazev = seznam.get(vybrane[0])
    ```

    [[obr1.png|Formulář objednávky se seznamem a zaškrtávacími políčky]]

    = Dialogová okna

    Modul <code>tkinter.messagebox</code> obsahuje hotová dialogová okna pro zprávy, varování,
    chyby a otázky. Funkce <code>showinfo</code>, <code>showwarning</code> a <code>showerror</code>
    zobrazí zprávu a počkají, až ji uživatel potvrdí. Funkce <code>askyesno</code> vrátí
    <code>True</code> nebo <code>False</code> podle toho, které tlačítko uživatel stiskl:

    ```
    from tkinter import messagebox

    def objednat():
        vybrane = seznam.curselection()
        if not vybrane:
            messagebox.showerror("Chyba", "Vyberte prosím pizzu.")
            return
        nazev = seznam.get(vybrane[0])
        cena = CENIK[nazev] + (25 if extra_syr.get() else 0) + (40 if dovoz.get() else 0)
        if messagebox.askyesno("Potvrzení", "Objednat {0} za {1} Kč?".format(nazev, cena)):
            messagebox.showinfo("Objednávka", "Objednávka přijata: {0}\\nCena celkem: {1} Kč".format(nazev, cena))
    ```

    [[obr2.gif|Dialogové okno s potvrzením objednávky]]

    Slovník <code>CENIK</code> obsahuje ceny jednotlivých pizz. Výraz
    <code>25 if extra_syr.get() else 0</code> je takzvaný <b>podmíněný výraz</b>: má hodnotu 25, je-li
    políčko zaškrtnuté, jinak 0. Hodí se tam, kde by celý příkaz <code>if</code> byl zbytečně dlouhý.

    ! ÚKOL: Dokončete program pro objednávku pizzy tak, aby přepínač velikosti ovlivňoval cenu
    (malá o 20 % levnější, velká o 30 % dražší) a aby se celková cena zobrazovala průběžně v popisku
    ve spodní části okna. Na průběžnou aktualizaci se hodí události, o kterých bude
    <a href="0015.htm">příští lekce</a>.
    """,
)

# ---------------------------------------------------------------- lekce 15
chapter(
    name="0015", id=1223, date="27. 4. 2009",
    title="Události", keywords="události, bind, myš, klávesnice, after",
    heading=["<H2>Lekce 15 - Události</H2>"],
    counter=True,
    perex="Program s okny neprobíhá shora dolů jako naše dřívější programy. Čeká na to, co udělá "
          "uživatel, a reaguje na to. Dnes se naučíme zpracovávat události od myši, klávesnice "
          "a časovače.",
    pictures=[
        ("obr1.png", "window", dict(title="Události myši", rows=[
            ("label", "Klikněte do okna nebo stiskněte klávesu."),
            ("list", ["<Button-1> x=120 y=45", "<Button-3> x=200 y=80", "<Key> znak=ř",
                      "<Double-Button-1> x=64 y=30"]),
            ("button", "Vymazat")])),
    ],
    body="""
    = Programování řízené událostmi

    Každé kliknutí myší, stisk klávesy, posun okna nebo uplynutí nastaveného času je pro program
    <b>událost</b>. Hlavní smyčka, kterou spouští metoda <code>mainloop</code>, dělá celou dobu jediné:
    čeká na události a pro každou zavolá funkci, kterou jsme k ní připojili. Takové funkci se říká
    <b>obsluha události</b>. Tento způsob psaní programů se nazývá <b>programování řízené
    událostmi</b> a používají ho prakticky všechny programy s grafickým rozhraním.

    S jednou událostí jsme se už setkali: parametr <code>command</code> tlačítka připojuje obsluhu
    stisku tlačítka. Ostatní události připojujeme metodou <code>bind</code>.

    = Metoda bind

    Metoda <code>bind</code> dostane popis události a funkci, která ji má obsloužit. Funkce obdrží
    jediný parametr, objekt s podrobnostmi o události &ndash; například souřadnice myši nebo
    stisknutou klávesu:

    ```
    import tkinter

    def kliknuti(udalost):
        zaznam.insert("end", "<Button-1> x={0} y={1}".format(udalost.x, udalost.y))

    def klavesa(udalost):
        zaznam.insert("end", "<Key> znak={0}".format(udalost.char))

    okno = tkinter.Tk()
    okno.title("Události myši")
    zaznam = tkinter.Listbox(okno, width=40)
    zaznam.pack(padx=10, pady=10)
    okno.bind("<Button-1>", kliknuti)
    okno.bind("<Key>", klavesa)
    okno.mainloop()
    ```

    [[obr1.png|Program zaznamenává události myši a klávesnice]]

    Popis události se píše do lomených závorek. Nejčastěji budete potřebovat tyto:

    * <code>&lt;Button-1&gt;</code>, <code>&lt;Button-3&gt;</code> &ndash; stisk levého a pravého
      tlačítka myši,
    * <code>&lt;Double-Button-1&gt;</code> &ndash; dvojklik,
    * <code>&lt;Motion&gt;</code> &ndash; pohyb myši nad prvkem,
    * <code>&lt;Key&gt;</code> &ndash; stisk libovolné klávesy, <code>&lt;Return&gt;</code> klávesy Enter,
    * <code>&lt;Control-s&gt;</code> &ndash; klávesová zkratka Ctrl+S,
    * <code>&lt;FocusIn&gt;</code> a <code>&lt;FocusOut&gt;</code> &ndash; prvek získal nebo ztratil
      zaměření.

    = Enter ve vstupním poli

    Uživatelé jsou zvyklí potvrdit formulář klávesou Enter. Připojíme proto obsluhu události
    <code>&lt;Return&gt;</code> ke vstupnímu poli z převodníku teplot v <a href="0014-01.htm">minulé
    lekci</a>. Obsluha tlačítka nemá parametr, obsluha události ano &ndash; proto použijeme malý trik
    s výchozí hodnotou parametru, aby jedna funkce posloužila oběma:

    ```
    def prevod(udalost=None):
        ...

    pole.bind("<Return>", prevod)
    ```

    = Časovač

    Někdy potřebujeme, aby program něco udělal sám od sebe, třeba každou sekundu aktualizoval hodiny.
    Nesmíme přitom použít cyklus s čekáním &ndash; hlavní smyčka by se nedostala ke slovu a okno by
    „zamrzlo“. Místo toho požádáme metodou <code>after</code>, aby hlavní smyčka zavolala naši funkci
    za zadaný počet milisekund. Funkce na konci naplánuje své další zavolání:

    ```
    import time

    def tik():
        hodiny.config(text=time.strftime("%H:%M:%S"))
        okno.after(1000, tik)

    hodiny = tkinter.Label(okno, font=("Arial", 24))
    hodiny.pack()
    tik()
    ```

    ! ZLATÉ PRAVIDLO: Obsluha události musí skončit rychle. Dokud běží, program nepřekresluje okno
    a nereaguje na uživatele. Dlouhé výpočty rozdělte na kratší kousky, které spustíte časovačem.

    = Události ve webové stránce

    Programování řízené událostmi není výsadou Pythonu. Stejně fungují i skripty ve webových
    stránkách. Vyzkoušejte si to přímo tady &ndash; tlačítko níže má připojenou obsluhu události
    <code>onclick</code> napsanou v jazyce JavaScript:

    <script type="text/javascript">
    <!--
    var pocetKliknuti = 0;
    function pozdrav() {
      pocetKliknuti++;
      alert("Ahoj! Událost onclick nastala už " + pocetKliknuti + "x.");
    }
    //-->
    </script>
    <form action="#"><p align="center"><input type="button" value="Klikni na mě" onclick="pozdrav()"></p></form>

    Je-li v prohlížeči zakázán JavaScript, tlačítko nebude reagovat. V tištěné verzi článku samozřejmě
    nereaguje vůbec.

    = Úkoly na procvičení

    * Program, který v okně kreslí kolečka na místa, kam uživatel klikne (použijte prvek
      <code>Canvas</code> a jeho metodu <code>create_oval</code>).
    * Stopky s tlačítky Start, Stop a Nulovat.
    * Dokončete objednávku pizzy z <a href="0014-02.htm">minulé lekce</a> tak, aby se cena
      přepočítávala při každé změně výběru.
    """,
)

# ---------------------------------------------------------------- lekce 16
chapter(
    name="0016", id=1224, date="4. 5. 2009",
    title="Závěrečný projekt: kalkulačka", keywords="projekt, kalkulačka, tkinter",
    heading=["<H2>Lekce 16 - Závěrečný projekt: kalkulačka</H2>"],
    ad=True,
    perex="Za sebou máme patnáct lekcí a spoustu nových znalostí. Je čas je spojit v jednom větším "
          "programu. Společně napíšeme kalkulačku s okny, tlačítky a ovládáním z klávesnice.",
    pictures=[
        ("obr1.png", "window", dict(title="Kalkulačka", rows=[
            ("display", "1234.5"), ("keys", "789/"), ("keys", "456*"), ("keys", "123-"),
            ("keys", "0.=+"), ("keys", "C")])),
        ("obr2.gif", "flow", dict(nodes=[("io", "Stisk tlačítka"), ("if", "číslice nebo . ?"),
                                         ("if", "operátor ?"), ("if", "= ?"), ("box", "C: vymaž")],
                                  sides=[(1, "připiš na displej"), (2, "zapamatuj si"),
                                         (3, "spočítej")], swap=True)),
    ],
    body="""
    = Zadání

    Naše kalkulačka bude umět čtyři základní početní operace s desetinnými čísly. Bude mít displej,
    tlačítka s číslicemi, desetinnou tečkou, operátory, rovnítkem a tlačítko <b>C</b> pro vymazání.
    Ovládat půjde myší i klávesnicí. Než začneme psát kód, rozmyslíme si, jak bude program
    fungovat.

    [[obr1.png|Hotová kalkulačka]]

    Kalkulačka si musí pamatovat tři věci: text na displeji, první operand a zvolenou operaci. Když
    uživatel stiskne číslici, připíše se na displej. Když stiskne operátor, kalkulačka si zapamatuje
    číslo z displeje a operaci a displej připraví na druhé číslo. Rovnítko provede výpočet.

    [[obr2.gif|Co se stane po stisku tlačítka]]

    = Třída Kalkulacka

    Stav kalkulačky a operace s ním uzavřeme do třídy, jak jsme se naučili ve
    <a href="0012-01.htm">dvanácté lekci</a>. Oddělíme přitom výpočetní logiku od okna &ndash; třída
    <code>Kalkulacka</code> nebude o knihovně tkinter vůbec vědět, a proto ji můžeme snadno vyzkoušet
    i v interaktivním režimu:

    ```
    class Kalkulacka:
        OPERACE = {
            "+": lambda a, b: a + b,
            "-": lambda a, b: a - b,
            "*": lambda a, b: a * b,
            "/": lambda a, b: a / b,
        }

        def __init__(self):
            self.vymaz()

        def vymaz(self):
            self.displej = "0"
            self.operand = None
            self.operace = None
            self.novy_vstup = True

        def znak(self, z):
            if self.novy_vstup:
                self.displej = "0"
                self.novy_vstup = False
            if z == ".":
                if "." not in self.displej:
                    self.displej += "."
            elif self.displej == "0":
                self.displej = z
            else:
                self.displej += z

        def operator(self, op):
            self.rovna_se()
            if self.displej == "Chyba":
                return
            self.operand = float(self.displej)
            self.operace = op
            self.novy_vstup = True

        def rovna_se(self):
            if self.operace is None:
                return
            try:
                vysledek = self.OPERACE[self.operace](self.operand, float(self.displej))
            except ZeroDivisionError:
                self.vymaz()
                self.displej = "Chyba"
                return
            self.displej = "{0:.10g}".format(vysledek)
            self.operace = None
            self.novy_vstup = True
    ```

    Slovo <code>lambda</code> vytvoří malou bezejmennou funkci, která jen vrátí hodnotu výrazu. Slovník
    <code>OPERACE</code> tak ke každému znaku operátoru přiřazuje funkci, která operaci provede. Díky
    tomu nepotřebujeme dlouhou řadu podmínek <code>if</code> a <code>elif</code>.

    Formát <code>{0:.10g}</code> vypíše číslo nejvýše na deset platných číslic a vynechá zbytečné
    nuly za desetinnou tečkou, takže 2 + 2 dá „4“, a ne „4.0“.

    = Okno kalkulačky

    Okno vytvoříme v další třídě. Tlačítka rozmístíme metodou <code>grid</code> podle seznamu řádků;
    všechna tlačítka mají společnou obsluhu, která podle textu tlačítka zavolá správnou metodu
    kalkulačky:

    ```
    import tkinter

    RADKY = ["789/", "456*", "123-", "0.=+"]

    class Okno:
        def __init__(self):
            self.kalk = Kalkulacka()
            self.okno = tkinter.Tk()
            self.okno.title("Kalkulačka")
            self.displej = tkinter.Label(self.okno, text="0", anchor="e", relief="sunken",
                                         bg="white", font=("Courier New", 16))
            self.displej.grid(row=0, column=0, columnspan=4, sticky="we", padx=4, pady=4)
            for r, radek in enumerate(RADKY):
                for s, znak in enumerate(radek):
                    tkinter.Button(self.okno, text=znak, width=4,
                                   command=lambda z=znak: self.stisk(z)).grid(row=r + 1, column=s)
            tkinter.Button(self.okno, text="C", command=lambda: self.stisk("C")).grid(
                row=5, column=0, columnspan=4, sticky="we")
            self.okno.bind("<Key>", self.klavesa)

        def stisk(self, z):
            if z in "0123456789.":
                self.kalk.znak(z)
            elif z in "+-*/":
                self.kalk.operator(z)
            elif z == "=":
                self.kalk.rovna_se()
            else:
                self.kalk.vymaz()
            self.displej.config(text=self.kalk.displej)

        def klavesa(self, udalost):
            z = udalost.char
            if z == "\\r":
                z = "="
            if z and z in "0123456789.+-*/=cC":
                self.stisk(z.upper() if z in "cC" else z)

    Okno().okno.mainloop()
    ```

    Zápis <code>lambda z=znak: self.stisk(z)</code> stojí za vysvětlení. Kdybychom napsali jen
    <code>lambda: self.stisk(znak)</code>, všechna tlačítka by po stisku použila hodnotu, kterou má
    proměnná <code>znak</code> <i>v okamžiku stisku</i>, tedy poslední znak z cyklu. Výchozí hodnota
    parametru se ale vyhodnotí hned při vytvoření funkce, a každé tlačítko si tak „zapamatuje“ svůj
    vlastní znak.

    ! VYZKOUŠEJTE: Zadejte 1 / 0 =. Kalkulačka nespadne, ale zobrazí „Chyba“ &ndash; výjimku
    <code>ZeroDivisionError</code> jsme zachytili v metodě <code>rovna_se</code>.

    = Co dál

    Kalkulačka je hotová, ale dá se vylepšovat donekonečna. Zkuste přidat tlačítko pro změnu znaménka,
    druhou odmocninu, paměť (tlačítka M+, MR, MC) nebo historii výpočtů v seznamu vedle displeje.
    Hotové programy můžete poslat do <a href="http://forum.kodovna.example/python/projekty/">fóra</a>,
    nejzajímavější řešení zveřejníme.

    Tímto projektem končí první řada seriálu. Děkujeme všem čtenářům za přízeň, dotazy i připomínky.
    Seriál bude po krátké přestávce pokračovat: ve druhé řadě se podíváme na moduly a balíčky, práci
    s databází, síťové programování a tvorbu jednoduchých her. Sledujte
    <a href="http://www.kodovna.example/serialy/python/">stránku seriálu</a>.
    """,
)
