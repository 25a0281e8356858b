#pragma once

// Folders of generated chapter files for the search's benchmark and tests, in two
// kinds, both Windows-1250 with CR LF line ends:
//   plain: a head with style sheet and script, navigation tables, headings,
//          paragraphs with inline markup and entities, <pre> listings, tables,
//          lists and a footer, about 30 kB a file;
//   web:   what saved web pages look like: long lines (a paragraph or a minified
//          script on one line), large inline scripts and style blocks whose code
//          holds '<' and '>', many entities, markup inside words; about 90 kB.
// About one file in ten holds the phrase "dynamické pole" (written with either
// initial case); others hold near misses.

#include "Cp1250.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace corpus {

constexpr qsizetype TargetFileSize = 30 * 1024;
constexpr int HitEvery = 10;

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
        std::exit(2);
    }
}

inline QByteArray cp(const QString& s)
{
    return tavio::cp1250::fromUnicode(s);
}

inline std::vector<QByteArray> encodeAll(const QStringList& list)
{
    std::vector<QByteArray> out;
    for (const QString& s : list)
        out.push_back(cp(s));
    return out;
}

inline const std::vector<QByteArray>& sentences()
{
    static const std::vector<QByteArray> list = encodeAll({
        QStringLiteral("V minulém díle jsme si ukázali, jak založit nový projekt a přidat do něj formulář."),
        QStringLiteral("Dnes se podíváme na to, jak s komponentami pracovat za běhu programu."),
        QStringLiteral("Každá třída má svůj konstruktor, který se volá při vytváření objektu."),
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy, což je věta se všemi háčky a čárkami."),
        QStringLiteral("Pokud proměnná ukazuje na neplatné místo v paměti, program skončí chybou."),
        QStringLiteral("Vlastnost <code>Caption</code> určuje text, který se zobrazí v záhlaví okna."),
        QStringLiteral("Události zpracováváme v obslužných metodách, které nám vývojové prostředí připraví."),
        QStringLiteral("Čtenáři se často ptají, proč jejich příklad nejde přeložit; odpověď najdete níže."),
        QStringLiteral("Řetězec lze rozdělit na části funkcí, která hledá oddělovač (viz &quot;Pos&quot;)."),
        QStringLiteral("Zkuste si příklad upravit tak, aby četl data ze souboru místo z klávesnice."),
        QStringLiteral("Šikovný programátor si všimne, že cyklus lze zapsat i <b>kratším</b> způsobem."),
        QStringLiteral("Ve výpisu níže je celá jednotka, kterou si můžete stáhnout i&nbsp;s projektem."),
        QStringLiteral("Podmínka <code>i &lt; Count</code> zajistí, že nesáhneme mimo rozsah pole."),
        QStringLiteral("Hodnota 2&nbsp;&times;&nbsp;3 se spočítá už při překladu &ndash; překladač je chytrý."),
        QStringLiteral("Záznam (record) sdružuje několik položek různých typů pod jedno jméno."),
        QStringLiteral("Velikost pole se určuje při deklaraci a za běhu programu ji už nezměníme."),
        QStringLiteral("Obsluha výjimky v bloku <i>try ... except</i> zachytí chybu a program pokračuje."),
        QStringLiteral("Mezi „uvozovkami“ stojí text, který program vypíše beze změny."),
    });
    return list;
}

inline const std::vector<QByteArray>& codeLines()
{
    static const std::vector<QByteArray> list = encodeAll({
        QStringLiteral("procedure TForm1.Button1Click(Sender: TObject);"),
        QStringLiteral("var"),
        QStringLiteral("  i, Soucet: Integer;"),
        QStringLiteral("begin"),
        QStringLiteral("  Soucet := 0;"),
        QStringLiteral("  for i := Low(Pole) to High(Pole) do"),
        QStringLiteral("    if Pole[i] &gt; 0 then Soucet := Soucet + Pole[i];  { jen kladná čísla }"),
        QStringLiteral("  Label1.Caption := &quot;Součet: &quot; + IntToStr(Soucet);"),
        QStringLiteral("  if (a &lt;&gt; b) and (c &lt;= d) then Exit;"),
        QStringLiteral("  ShowMessage('Hotovo &amp; uloženo');"),
        QStringLiteral("end;"),
    });
    return list;
}

inline QByteArray head(int chapter)
{
    return cp(QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n"
        "<meta name=\"keywords\" content=\"programování, seriál, Pascal, komponenty\">\r\n"
        "<title>Kódovna - Programujeme v Pascalu, díl %1</title>\r\n"
        "<style type=\"text/css\">\r\n<!--\r\n"
        "body { font-family: Verdana, Arial, sans-serif; font-size: 10pt; margin: 12px; }\r\n"
        "h2 { font-size: 16pt; color: #1F3A68; }\r\n"
        "pre { font-family: \"Courier New\", monospace; background-color: #F4F4F4; padding: 6px; }\r\n"
        ".paticka { font-size: 8pt; color: #808080; }\r\n-->\r\n</style>\r\n"
        "<SCRIPT LANGUAGE=\"JavaScript\" TYPE=\"text/javascript\">\r\n<!--\r\n"
        "function nastavStatus() {\r\n  window.status = \"Kódovna - tisková verze\";\r\n  return true;\r\n}\r\n"
        "//-->\r\n</SCRIPT>\r\n</head>\r\n<body onLoad=\"window.print()\">\r\n")
                  .arg(chapter));
}

inline QByteArray navigation(int chapter)
{
    QByteArray f = "<table width=\"100%\" border=\"0\" cellpadding=\"2\" cellspacing=\"0\"><tr>\r\n";
    for (int i = 0; i < 6; ++i)
        f += "<td class=\"navigace\"><a href=\"http://www.kodovna.example/rubrika/" + QByteArray::number(i) + "/\">"
            + cp(QStringLiteral("Rubrika č. ")) + QByteArray::number(i) + "</a></td>\r\n";
    f += "</tr></table>\r\n<h2>Lekce " + QByteArray::number(chapter) + " - " + cp(QStringLiteral("Pole a záznamy"))
        + "</h2>\r\n";
    return f;
}

inline QByteArray pre(std::mt19937& rng)
{
    QByteArray f = "<pre>";
    const auto& lines = codeLines();
    const size_t first = rng() % lines.size();
    for (size_t i = 0; i < 8; ++i)
        f += lines[(first + i) % lines.size()] + "\r\n";
    f += "</pre>\r\n";
    return f;
}

inline QByteArray table(std::mt19937& rng)
{
    QByteArray f = "<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">\r\n<tr><th>"
        + cp(QStringLiteral("Vlastnost")) + "</th><th>Typ</th><th>" + cp(QStringLiteral("Popis")) + "</th></tr>\r\n";
    const int rows = 3 + int(rng() % 5);
    for (int r = 0; r < rows; ++r)
        f += "<tr><td><code>Items[" + QByteArray::number(r) + "]</code></td><td>TStrings</td><td>"
            + sentences()[rng() % sentences().size()] + "</td></tr>\r\n";
    f += "</table>\r\n";
    return f;
}

// A paragraph of sentences broken over lines as an editor wraps them; a phrase, when
// given, goes in at a random sentence boundary.
inline QByteArray paragraph(std::mt19937& rng, const QByteArray& phrase)
{
    const auto& s = sentences();
    const int n = 3 + int(rng() % 6);
    const int phraseAt = phrase.isEmpty() ? -1 : int(rng() % n);
    QByteArray f = "<p>";
    for (int i = 0; i < n; ++i) {
        if (i == phraseAt)
            f += phrase;
        f += s[rng() % s.size()];
        f += (i % 2) ? "\r\n" : " ";
    }
    f += "</p>\r\n";
    return f;
}

inline QByteArray footer()
{
    return cp(
        QStringLiteral("<hr size=\"1\" noshade>\r\n<p class=\"navigace\"><a href=\"x.htm\">&laquo; Předchozí díl</a>"
                       " | <a href=\"y.htm\">Následující díl &raquo;</a></p>\r\n"
                       "<p class=\"paticka\">&copy; 2003 Kódovna &ndash; magazín o programování. "
                       "Všechna práva vyhrazena.</p>\r\n</body>\r\n</html>\r\n"));
}

// Writes the plain kind of chapter files; returns their paths in name order and how many hold the phrase.
inline QStringList generatePlain(const QString& folder, int fileCount, int* withPhrase)
{
    std::mt19937 rng(20041);
    const std::vector<QByteArray> hits = encodeAll({QStringLiteral("Proto použijeme dynamické pole, které roste. "),
        QStringLiteral("Dynamické pole (TList) zvětšíme za běhu. ")});
    const std::vector<QByteArray> nearMisses = encodeAll(
        {QStringLiteral("Prvek dynamické poli nepřidáme. "), QStringLiteral("Délka dynamického pole se mění. ")});
    QStringList paths;
    *withPhrase = 0;
    for (int i = 0; i < fileCount; ++i) {
        const int chapter = 1 + i;
        const bool hit = i % HitEvery == 3;
        const bool nearMiss = i % HitEvery == 7;
        *withPhrase += hit;
        QByteArray f = head(chapter) + navigation(chapter);
        f.reserve(TargetFileSize + 4096);
        int block = 0;
        // The phrase lands in the first, middle or last part of a file.
        const int phraseBlock = hit || nearMiss ? 1 + int(rng() % 40) : -1;
        while (f.size() < TargetFileSize) {
            ++block;
            QByteArray phrase;
            if (block == phraseBlock || (phraseBlock >= 0 && f.size() + 2000 > TargetFileSize && block < phraseBlock))
                phrase = hit ? hits[rng() % hits.size()] : nearMisses[rng() % nearMisses.size()];
            if (block % 6 == 0)
                f += pre(rng);
            else if (block % 11 == 0)
                f += table(rng);
            else if (block % 9 == 0)
                f += "<ul>\r\n<li>" + sentences()[rng() % sentences().size()] + "</li>\r\n<li>"
                    + sentences()[rng() % sentences().size()] + "</li>\r\n</ul>\r\n";
            if (block % 4 == 0)
                f += "<h3>" + cp(QStringLiteral("Část ")) + QByteArray::number(block) + "</h3>\r\n";
            f += paragraph(rng, phrase);
        }
        f += footer();
        const QString path = folder + QStringLiteral("%1.htm").arg(chapter, 4, 10, QLatin1Char('0'));
        writeFile(path, f);
        paths.append(path);
    }
    paths.sort();
    return paths;
}


// A minified script on one line: comparisons, strings with markup, entities in strings.
inline QByteArray script(std::mt19937& rng, int bytes)
{
    static const std::vector<QByteArray> parts = {
        "for(var i=0;i<n.length;i++){if(n[i]>max)max=n[i];}",
        "var s='<div class=\"box\">'+t+'</div>';",
        "if(a<b&&c>d){e=f<<2;}",
        "document.write('<a href=\"x.htm\">dal&scaron;&iacute;</a>');",
        "function f(x){return x<10?'0'+x:x;}",
        "var q=\"dynamick\xe9\";var r='pole';",
        "el.innerHTML='&lt;b&gt;'+v+'&lt;/b&gt;';",
        "while(k-->0){z+=k>>1;}",
    };
    QByteArray f = "<script type=\"text/javascript\">";
    while (f.size() < bytes)
        f += parts[rng() % parts.size()];
    f += "</script>\r\n";
    return f;
}

inline QByteArray styleBlock(std::mt19937& rng, int bytes)
{
    QByteArray f = "<style type=\"text/css\">\r\n";
    int n = 0;
    while (f.size() < bytes) {
        f += ".c" + QByteArray::number(n++) + " > a:hover, div.c" + QByteArray::number(int(rng() % 1000))
            + " p { margin: 0 0 1em 0; font: 10pt/1.4 Verdana, \"Arial CE\", sans-serif; color: #" + QByteArray::number(int(rng() % 0xFFFFFF), 16) + "; }";
        if (n % 20 == 0)
            f += "\r\n";
    }
    f += "\r\n</style>\r\n";
    return f;
}

// A paragraph on one long line, with entities, numeric references and markup.
inline QByteArray longLine(std::mt19937& rng, const QByteArray& phrase)
{
    const auto& s = sentences();
    static const std::vector<QByteArray> glue = {" ", "&nbsp;", " &ndash; ", " <b>", "</b> ", " <a href=\"kap.htm#x\">",
        "</a> ", "&#8230; ", " &amp; ", " &quot;", "&quot; ", " <span class=\"k\">", "</span>", " &copy; "};
    const int n = 10 + int(rng() % 40);
    const int phraseAt = phrase.isEmpty() ? -1 : int(rng() % n);
    QByteArray f = "<p class=\"text\">";
    for (int i = 0; i < n; ++i) {
        if (i == phraseAt)
            f += phrase;
        f += s[rng() % s.size()];
        f += glue[rng() % glue.size()];
    }
    f += "</p>\r\n";
    return f;
}

// Writes the web kind; the phrase comes in the ways a web page writes it: across
// markup, across a line break, in capitals; near misses across a non-breaking
// space or inside a script.
inline QStringList generateWeb(const QString& folder, int fileCount, int* withPhrase)
{
    std::mt19937 rng(7304);
    const std::vector<QByteArray> hits = {cp(QStringLiteral("dynamické pole ")),
        cp(QStringLiteral("Dynamické <b>pole</b> ")), cp(QStringLiteral("dyna<i></i>mické pole ")),
        cp(QStringLiteral("DYNAMICKÉ POLE ")), cp(QStringLiteral("dynamické\r\npole "))};
    const std::vector<QByteArray> nearMisses = {cp(QStringLiteral("dynamické&nbsp;pole ")),
        cp(QStringLiteral("dynamicképole ")), cp(QStringLiteral("dynamické-pole ")), cp(QStringLiteral("dynamického pole "))};
    QStringList paths;
    *withPhrase = 0;
    for (int i = 0; i < fileCount; ++i) {
        const int chapter = 1 + i;
        const bool hit = i % HitEvery == 3;
        const bool nearMiss = i % HitEvery == 7;
        *withPhrase += hit;
        QByteArray f = "<!DOCTYPE html>\r\n<html><head><meta charset=\"windows-1250\"><title>"
            + cp(QStringLiteral("Kódovna &ndash; díl ")) + QByteArray::number(chapter) + "</title>\r\n";
        f += styleBlock(rng, 8000 + int(rng() % 8000));
        f += script(rng, 20000 + int(rng() % 30000));
        f += "</head><body>" + navigation(chapter);
        const int lines = 8 + int(rng() % 12);
        const int phraseLine = hit || nearMiss ? int(rng() % lines) : -1;
        for (int l = 0; l < lines; ++l) {
            QByteArray phrase;
            if (l == phraseLine)
                phrase = hit ? hits[rng() % hits.size()] : nearMisses[rng() % nearMisses.size()];
            f += longLine(rng, phrase);
            if (l % 5 == 4)
                f += script(rng, 2000);
        }
        f += footer();
        const QString path = folder + QStringLiteral("%1.htm").arg(chapter, 4, 10, QLatin1Char('0'));
        writeFile(path, f);
        paths.append(path);
    }
    paths.sort();
    return paths;
}

} // namespace corpus
