#include "ChapterText.h"
#include "Cp1250.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <random>

#include <unistd.h>

using namespace tavio;

namespace {

QByteArray cp(const QString& s)
{
    return cp1250::fromUnicode(s);
}

// The extraction written out step by step, as plainly as it can be: the fast one
// must give the same bytes.
QByteArray referenceText(const QByteArray& file, const QByteArray& searchText)
{
    static const QByteArray spacing("!\"$%'()*+,-./:;=?@^_`{}~\x84\x93\xB0", 27);
    QByteArray working;
    for (const char c : spacing) {
        if (!searchText.contains(c))
            working += c;
    }

    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < file.size(); ++i) {
        if (file[i] != '\r' && file[i] != '\n')
            continue;
        lines.append(file.mid(start, i - start));
        if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < file.size())
        lines.append(file.mid(start));

    QByteArray result;
    bool copying = false;
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        for (const char c : line) {
            if (c == '<')
                copying = false;
            else if (c == '>')
                copying = true;
            if (copying && c != '>') {
                if (working.contains(c)) {
                    result += ' ';
                    result += c;
                    result += ' ';
                } else {
                    result += c;
                }
            }
        }
        while (!result.isEmpty() && uchar(result.front()) <= 32)
            result.remove(0, 1);
        while (!result.isEmpty() && uchar(result.back()) <= 32)
            result.chop(1);
        if (!result.isEmpty())
            result = QByteArray(" ") + result + QByteArray(" ");
    }

    const std::pair<QByteArray, char> rows[] = {
        {QByteArray("&lt ; "), '\x3C'},
        {QByteArray("&gt ; "), '\x3E'},
        {QByteArray("&quot ;"), '\x22'},
        {QByteArray("&shy ;"), '\x00'},
        {QByteArray("&plusmn ;"), '\xB1'},
        {QByteArray("&times ;"), '\xD7'},
        {QByteArray("&reg ;"), '\xAE'},
        {QByteArray("&copy ;"), '\xA9'},
        {QByteArray("&euro ;"), '\x80'},
        {QByteArray("&raquo ;"), '\xBB'},
        {QByteArray("&laquo ;"), '\xAB'},
    };
    for (const auto& [pattern, character] : rows)
        result.replace(pattern, QByteArray(1, character));
    return result;
}

QString printable(const QByteArray& bytes)
{
    QString s;
    for (const char c : bytes) {
        if (uchar(c) < 32 || uchar(c) >= 127)
            s += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
        else
            s += QLatin1Char(c);
    }
    return s;
}

// One search over a chapter's bytes, as the search page runs it.
bool found(const QByteArray& file, const QString& searchText, bool wholeWords, bool caseSensitive)
{
    const QByteArray text = ChapterBytesToText(file, cp(searchText));
    return TextHasPattern(text, MakeSearchPattern(searchText, wholeWords, caseSensitive), caseSensitive);
}

} // namespace

class TestChapterText final : public QObject
{
    Q_OBJECT
private slots:
    void upperCase_data();
    void upperCase();
    void upperCaseKeepsAccentsAndOddLetters();
    void extraction_data();
    void extraction();
    void extractionMatchesLiteralRuleOnRandomInput();
    void match_data();
    void match();
    void searchPattern_data();
    void searchPattern();
    void patternSearchMatchesPlainContains();
    void chapterFile();
    void unreadableFiles();
    void fileWithoutReportedSize();
    void rawLines_data();
    void rawLines();
};

void TestChapterText::upperCase_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    const QString lower = QStringLiteral("áčďéěíňóřšťúůýž") + QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QString upper = QStringLiteral("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ") + QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (qsizetype i = 0; i < lower.size(); ++i)
        QTest::newRow(qPrintable(lower.mid(i, 1))) << lower.mid(i, 1) << upper.mid(i, 1);
    // Other letters of the code page, and capitals that stay.
    QTest::newRow("ľ") << QStringLiteral("ľ") << QStringLiteral("Ľ");
    QTest::newRow("ł") << QStringLiteral("ł") << QStringLiteral("Ł");
    QTest::newRow("ż") << QStringLiteral("ż") << QStringLiteral("Ż");
    QTest::newRow("ő") << QStringLiteral("ő") << QStringLiteral("Ő");
    QTest::newRow("Ř stays") << QStringLiteral("Ř") << QStringLiteral("Ř");
    QTest::newRow("digit") << QStringLiteral("7") << QStringLiteral("7");
}

void TestChapterText::upperCase()
{
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    const QByteArray l = cp(lower);
    const QByteArray u = cp(upper);
    QCOMPARE(l.size(), 1);
    QCOMPARE(cp1250::upperTable()[uchar(l[0])], uchar(u[0]));
    QCOMPARE(cp1250::toUpper(l), u);
}

void TestChapterText::upperCaseKeepsAccentsAndOddLetters()
{
    const auto& table = cp1250::upperTable();
    QCOMPARE(table['e'], uchar('E'));
    QCOMPARE(table[uchar(cp(QStringLiteral("é"))[0])], uchar(cp(QStringLiteral("É"))[0]));
    QVERIFY(cp1250::toUpper(QByteArray("reka")) != cp1250::toUpper(cp(QStringLiteral("řeka"))));
    // Letters whose capital the code page lacks, and signs, stay as they are.
    for (const QString& same : {QStringLiteral("ß"), QStringLiteral("µ"), QStringLiteral("÷"), QStringLiteral("§")})
        QCOMPARE(cp1250::toUpper(cp(same)), cp(same));
    // A whole Czech sentence agrees with the Unicode capitals.
    const QString sentence = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy; Ďábel řekl: „Ňadro“.");
    QCOMPARE(cp1250::toUpper(cp(sentence)), cp(sentence.toUpper()));
    for (int b = 0; b < 256; ++b)
        QCOMPARE(table[table[size_t(b)]], table[size_t(b)]);
}

void TestChapterText::extraction_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QByteArray>("text");

    const QString none = QStringLiteral("x");
    QTest::newRow("empty file") << QByteArray() << none << QByteArray();
    QTest::newRow("markup only") << QByteArray("<html>\r\n<body>\r\n</body></html>\r\n") << none << QByteArray();
    QTest::newRow("blanks between tags only") << QByteArray("<p>  \t\r\n  </p>\r\n") << none << QByteArray();
    QTest::newRow("no tag at all") << QByteArray("Ahoj svete\r\n") << none << QByteArray();
    QTest::newRow("text before first tag end") << QByteArray("Ahoj <b>svete") << none << QByteArray(" svete ");
    QTest::newRow("text lines before first tag end")
        << QByteArray("Ahoj\r\nsvete\r\n<p>x") << none << QByteArray(" x ");
    QTest::newRow("comma and full stop") << QByteArray("<p>Ahoj, svete.</p>") << none
                                         << QByteArray(" Ahoj ,  svete . ");
    QTest::newRow("line break joins") << QByteArray("<p>Ahoj\r\nsvete</p>") << none << QByteArray(" Ahoj svete ");
    QTest::newRow("indented next line") << QByteArray("<p>Ahoj\r\n  svete</p>") << none << QByteArray(" Ahoj   svete ");
    QTest::newRow("blanks at line end") << QByteArray("<p>Ahoj \t\r\nsvete</p>") << none << QByteArray(" Ahoj svete ");
    QTest::newRow("tag between words") << QByteArray("<p><b>Ahoj</b>svete</p>") << none << QByteArray(" Ahojsvete ");
    QTest::newRow("tag over two lines") << QByteArray("<p>a<img\r\nsrc=x>b") << none << QByteArray(" a b ");
    QTest::newRow("stray greater-than") << QByteArray("<p>a>b") << none << QByteArray(" ab ");
    QTest::newRow("lone less-than hides the rest") << QByteArray("<p>a < b\r\nc") << none << QByteArray(" a ");
    QTest::newRow("unterminated tag at end") << QByteArray("<p>a<b") << none << QByteArray(" a ");
    QTest::newRow("blank and markup lines between")
        << QByteArray("<p>a\r\n   \r\n<br>\r\n\r\n\r\nb") << none << QByteArray(" a b ");
    QTest::newRow("lone CR and LF") << QByteArray("<p>a\rb\nc\n\rd") << none << QByteArray(" a b c d ");
    QTest::newRow("leading blanks of first text") << QByteArray("<p>   \r\n \t a, b") << none << QByteArray(" a ,  b ");
    QTest::newRow("spacing sign first") << QByteArray("<p>(a)") << none << QByteArray(" ( a ) ");
    QTest::newRow("control bytes at ends") << QByteArray("<p>\x01"
                                                         "a\tb\x02\r\nc")
                                           << none << QByteArray(" a\tb c ");
    QTest::newRow("nul inside") << QByteArray("<p>a\0b", 6) << none << QByteArray(" a\0b ", 5);
    QTest::newRow("no blank where entity ends the text") << QByteArray("<p>a&lt;") << none << QByteArray(" a<");

    // Every member of the spacing set, and neighbours that are not members.
    QTest::newRow("spacing set") << QByteArray("<p>!\"$%'()*+,-./:;=?@^_`{}~\x84\x93\xB0") << none
                                 << QByteArray(
                                        " !  \"  $  %  '  (  )  *  +  ,  -  .  /  :  ;  =  ?  @  ^  _  `  {  }  ~  "
                                        "\x84  \x93  \xB0 ");
    QTest::newRow("not spacing") << QByteArray("<p>a#&[]\\|\x94\x96\x97z") << none
                                 << QByteArray(" a#&[]\\|\x94\x96\x97z ");

    // The search text keeps its own characters unspaced.
    QTest::newRow("plus typed") << QByteArray("<p>x+y, z") << QStringLiteral("x+y") << QByteArray(" x+y ,  z ");
    QTest::newRow("plus not typed") << QByteArray("<p>x+y, z") << none << QByteArray(" x + y ,  z ");
    QTest::newRow("typed quote mark") << cp(QStringLiteral("<p>„a“")) << QStringLiteral("„")
                                      << cp(QStringLiteral(" „a “ "));

    // Entities, after the markup is gone.
    QTest::newRow("lt gt") << QByteArray("<p>&lt;b&gt;") << none << QByteArray(" <b>");
    QTest::newRow("lt gt with semicolon typed")
        << QByteArray("<p>&lt;b&gt;") << QStringLiteral("a;") << QByteArray(" &lt;b&gt; ");
    QTest::newRow("quot") << QByteArray("<p>&quot;slovo&quot;") << none << QByteArray(" \" slovo\" ");
    QTest::newRow("shy") << QByteArray("<p>pro&shy;gram") << none << QByteArray(" pro\0 gram ", 11);
    QTest::newRow("nbsp stays") << QByteArray("<p>a&nbsp;b") << none << QByteArray(" a&nbsp ; b ");
    QTest::newRow("amp stays") << QByteArray("<p>&amp;lt;") << none << QByteArray(" &amp ; lt ; ");
    QTest::newRow("numeric stays") << QByteArray("<p>&#169;") << none << QByteArray(" &#169 ; ");
    QTest::newRow("upper-case name stays") << QByteArray("<p>&LT;") << none << QByteArray(" &LT ; ");
    QTest::newRow("other rows") << QByteArray("<p>&plusmn;&times;&reg;&copy;&euro;&raquo;&laquo;") << none
                                << QByteArray(" \xB1 \xD7 \xAE \xA9 \x80 \xBB \xAB ");
    QTest::newRow("entity over a line end") << QByteArray("<p>&lt;\r\nb") << none << QByteArray(" <b ");
    QTest::newRow("entity spelled with blanks")
        << QByteArray("<p>&lt ; x") << QStringLiteral(";") << QByteArray(" <x ");
}

void TestChapterText::extraction()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, searchText);
    QFETCH(QByteArray, text);
    const QByteArray reference = referenceText(file, cp(searchText));
    QCOMPARE(printable(reference), printable(text));
    QCOMPARE(printable(ChapterBytesToText(file, cp(searchText))), printable(text));
}

void TestChapterText::extractionMatchesLiteralRuleOnRandomInput()
{
    const std::vector<QByteArray> pieces = {
        "<b>",
        "</b>",
        "<p class=\"x\">",
        "<img\r\nsrc=\"a.gif\">",
        "<",
        ">",
        "<<",
        ">>",
        "&lt;",
        "&gt;",
        "&quot;",
        "&shy;",
        "&plusmn;",
        "&times;",
        "&reg;",
        "&copy;",
        "&euro;",
        "&raquo;",
        "&laquo;",
        "&nbsp;",
        "&amp;",
        "&lt ; ",
        "&gt ; x",
        "&lt",
        "&",
        ";",
        " ;",
        "; ",
        " ",
        "  ",
        "\t",
        "\r",
        "\n",
        "\r\n",
        "\n\r",
        "\r\r\n",
        QByteArray(1, '\0'),
        "\x01",
        "\x1F",
        "slovo",
        "Ahoj",
        "x+y",
        "a",
        "Z",
        "\xF8"
        "eka",
        "\xD8"
        "EKA",
        "\x9A",
        "\x8A",
        "\xE1",
        "\xC1",
        "\xEC",
        "[",
        "]",
        "#",
        "\\",
        "\x94",
        "\x96",
        "\x84",
        "\x93",
        "\xB0",
        "!",
        "\"",
        "$",
        "%",
        "'",
        "(",
        ")",
        "*",
        "+",
        ",",
        "-",
        ".",
        "/",
        ":",
        "=",
        "?",
        "@",
        "^",
        "_",
        "`",
        "{",
        "}",
        "~",
    };
    const std::vector<QByteArray> searchTexts = {
        "x",
        "slovo",
        ";",
        "a;b",
        " ",
        "x+y",
        ", ",
        "&lt;",
        "()",
        "\x84",
        ".-/",
        "!\"$%'()*+,-./:;=?@^_`{}~",
        "\xB0 ",
        "\xF8"
        "eka",
        "",
    };
    // Few pieces, densely mixed: blanks and breaks at every seam.
    const std::vector<QByteArray> dense
        = {"<", ">", " ", "\t", "\r", "\n", "a", ",", ";", "&lt", "&", QByteArray(1, '\0')};
    std::mt19937 rng(4101);
    for (int round = 0; round < 1000; ++round) {
        const auto& from = round % 2 ? pieces : dense;
        QByteArray file;
        const int count = int(rng() % 60);
        for (int i = 0; i < count; ++i) {
            if (rng() % 10 == 0)
                file += char(rng() % 256);
            else
                file += from[rng() % from.size()];
        }
        const QByteArray search = searchTexts[rng() % searchTexts.size()];
        const QByteArray fast = ChapterBytesToText(file, search);
        const QByteArray reference = referenceText(file, search);
        if (fast != reference) {
            qWarning("file:   %s\nsearch: %s", qPrintable(printable(file)), qPrintable(printable(search)));
            QCOMPARE(printable(fast), printable(reference));
        }
    }
}

void TestChapterText::match_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("hit");

    QTest::newRow("empty file") << QByteArray() << QStringLiteral("a") << false << false << false;
    QTest::newRow("blank in markup-only file")
        << QByteArray("<p></p>") << QStringLiteral(" ") << false << false << false;
    QTest::newRow("word after comma") << QByteArray("<p>Ahoj, svete.</p>") << QStringLiteral("svete") << true << false
                                      << true;
    QTest::newRow("words over line break")
        << QByteArray("<p>Ahoj\r\nsvete") << QStringLiteral("Ahoj svete") << true << false << true;
    QTest::newRow("indented next line") << QByteArray("<p>Ahoj\r\n  svete") << QStringLiteral("Ahoj svete") << true
                                        << false << false;
    QTest::newRow("word glued by removed tag")
        << QByteArray("<p><b>Ahoj</b>svete") << QStringLiteral("Ahoj") << true << false << false;
    QTest::newRow("part of glued word") << QByteArray("<p><b>Ahoj</b>svete") << QStringLiteral("Ahoj") << false << false
                                        << true;
    QTest::newRow("x+y between blanks") << QByteArray("<p>a x+y b") << QStringLiteral("x+y") << true << false << true;
    QTest::newRow("x+y before comma") << QByteArray("<p>a x+y, b") << QStringLiteral("x+y") << true << false << true;
    QTest::newRow("x+y inside word") << QByteArray("<p>ax+yb") << QStringLiteral("x+y") << false << false << true;
    QTest::newRow("x whole in x+y") << QByteArray("<p>ax x+y") << QStringLiteral("x") << true << false << true;
    QTest::newRow("semicolon keeps lt") << QByteArray("<p>&lt;b&gt;") << QStringLiteral("&lt;") << false << false
                                        << true;
    QTest::newRow("lt translated") << QByteArray("<p>&lt;b&gt;") << QStringLiteral("<b>") << false << true << true;
    QTest::newRow("shy splits word") << QByteArray("<p>pro&shy;gram") << QStringLiteral("program") << false << false
                                     << false;
    QTest::newRow("word after nbsp") << QByteArray("<p>slovo&nbsp;dalsi") << QStringLiteral("dalsi") << true << false
                                     << true;
    QTest::newRow("řeka finds ŘEKA") << cp(QStringLiteral("<p>ŘEKA")) << QStringLiteral("řeka") << true << false
                                     << true;
    QTest::newRow("řeka finds Řeka") << cp(QStringLiteral("<p>Řeka teče")) << QStringLiteral("řeka") << true << false
                                     << true;
    QTest::newRow("řeka misses reka") << QByteArray("<p>reka") << QStringLiteral("řeka") << false << false << false;
    QTest::newRow("reka misses řeka") << cp(QStringLiteral("<p>řeka")) << QStringLiteral("reka") << false << false
                                      << false;
    QTest::newRow("case kept misses Řeka")
        << cp(QStringLiteral("<p>Řeka")) << QStringLiteral("řeka") << false << true << false;
    QTest::newRow("case kept finds řeka")
        << cp(QStringLiteral("<p>řeka")) << QStringLiteral("řeka") << false << true << true;
    QTest::newRow("trailing blank, one blank")
        << QByteArray("<p>a slovo b") << QStringLiteral("slovo ") << true << false << false;
    QTest::newRow("trailing blank, two blanks")
        << QByteArray("<p>a slovo  b") << QStringLiteral("slovo ") << true << false << true;
    QTest::newRow("trailing blank at line end")
        << QByteArray("<p>a slovo\r\nb") << QStringLiteral("slovo ") << true << false << false;
    QTest::newRow("square brackets") << QByteArray("<p>[slovo]") << QStringLiteral("slovo") << true << false << false;
    QTest::newRow("parentheses") << QByteArray("<p>(slovo)") << QStringLiteral("slovo") << true << false << true;
    QTest::newRow("first and last word") << QByteArray("<p>slovo") << QStringLiteral("slovo") << true << false << true;
    QTest::newRow("question mark") << cp(QStringLiteral("<p>Proč?")) << QStringLiteral("?") << false << false << true;
    QTest::newRow("character outside the code page")
        << cp(QStringLiteral("<p>Proč?")) << QStringLiteral("\u4e2d") << false << false << false;
    QTest::newRow("dash glues") << QByteArray("<p>a\x96slovo") << QStringLiteral("slovo") << true << false << false;
}

void TestChapterText::match()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, searchText);
    QFETCH(bool, wholeWords);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, hit);
    QCOMPARE(found(file, searchText, wholeWords, caseSensitive), hit);
}

void TestChapterText::searchPattern_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QByteArray>("pattern");
    QTest::newRow("plain") << QStringLiteral("řeka a") << false << true << cp(QStringLiteral("řeka a"));
    QTest::newRow("capitals") << QStringLiteral("řeka a") << false << false << cp(QStringLiteral("ŘEKA A"));
    QTest::newRow("whole words") << QStringLiteral("Řeka") << true << true << cp(QStringLiteral(" Řeka "));
    QTest::newRow("blanks kept") << QStringLiteral(" x ") << true << false << QByteArray("  X  ");
    QTest::newRow("question mark") << QStringLiteral("proč?") << true << false << cp(QStringLiteral(" PROČ? "));
    QTest::newRow("outside the code page") << QStringLiteral("a\u4e2d") << false << true << QByteArray();
    QTest::newRow("outside, whole words") << QStringLiteral("\u03c0") << true << false << QByteArray();
}

void TestChapterText::searchPattern()
{
    QFETCH(QString, searchText);
    QFETCH(bool, wholeWords);
    QFETCH(bool, caseSensitive);
    QFETCH(QByteArray, pattern);
    QCOMPARE(MakeSearchPattern(searchText, wholeWords, caseSensitive), pattern);
}

void TestChapterText::patternSearchMatchesPlainContains()
{
    // The skip search against the obvious one, with patterns taken from the text
    // (hits at every position) and beside it (near misses).
    std::mt19937 rng(4102);
    const QByteArray alphabet("abAB \xE8\xC8\xF8\xD8x");
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int n = int(rng() % 40);
        for (int i = 0; i < n; ++i)
            text += alphabet[rng() % alphabet.size()];
        QByteArray pattern;
        if (n > 0 && rng() % 2) {
            const int from = int(rng() % n);
            pattern = text.mid(from, 1 + int(rng() % (n - from)));
        } else {
            const int m = 1 + int(rng() % 4);
            for (int i = 0; i < m; ++i)
                pattern += alphabet[rng() % alphabet.size()];
        }
        const bool caseSensitive = rng() % 2;
        if (!caseSensitive)
            pattern = cp1250::toUpper(pattern);
        const QByteArray folded = caseSensitive ? text : cp1250::toUpper(text);
        QCOMPARE(TextHasPattern(text, pattern, caseSensitive), folded.contains(pattern));
    }
    QVERIFY(!TextHasPattern(QByteArray("abc"), QByteArray(), true));
    QVERIFY(!TextHasPattern(QByteArray(), QByteArray(), false));
}

void TestChapterText::chapterFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("0001.htm"));
    const QByteArray html
        = cp(QStringLiteral("<html><body>\r\n<p>Řeka, most &amp; &lt;b&gt;.</p>\r\n</body></html>\r\n"));
    testfiles::write(path, html);
    const auto text = ChapterFileToText(path, QStringLiteral("most"));
    QVERIFY(text);
    QCOMPARE(*text, ChapterBytesToText(html, "most"));
    QCOMPARE(*text, cp(QStringLiteral(" Řeka ,  most &amp ;  <b> . ")));
    const auto typedSemicolon = ChapterFileToText(path, QStringLiteral(";"));
    QVERIFY(typedSemicolon);
    QCOMPARE(*typedSemicolon, cp(QStringLiteral(" Řeka ,  most &amp; &lt;b&gt; . ")));
}

void TestChapterText::unreadableFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray pattern = MakeSearchPattern(QStringLiteral("a"), false, false);

    const QString missing = dir.filePath(QStringLiteral("chybi.htm"));
    FileError error;
    QVERIFY(!ChapterFileToText(missing, QStringLiteral("a"), &error));
    QVERIFY(!error.message.isEmpty());
    QVERIFY(!RawLinesHavePattern(missing, pattern, false));
    QVERIFY(!ChapterFileToText(dir.path(), QStringLiteral("a")));

    // Past the size limit the file is refused whole, never read in part.
    const QString huge = dir.filePath(QStringLiteral("velky.htm"));
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write("<p>a") == 4);
        QVERIFY(f.resize(MaxChapterFileBytes + 1));
    }
    QVERIFY(!ChapterFileToText(huge, QStringLiteral("a")));
    QVERIFY(!RawLinesHavePattern(huge, pattern, false));

    if (geteuid() == 0)
        QSKIP("root reads files without read permission");
    const QString locked = dir.filePath(QStringLiteral("zamceny.htm"));
    testfiles::write(locked, "<p>a");
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    QVERIFY(!ChapterFileToText(locked, QStringLiteral("a")));
    QVERIFY(!RawLinesHavePattern(locked, pattern, false));
}

void TestChapterText::fileWithoutReportedSize()
{
    // Files of the proc file system report no size and are read to their end anyway.
    const QString status = QStringLiteral("/proc/self/status");
    if (!QFile::exists(status))
        QSKIP("no proc file system");
    const auto hit = RawLinesHavePattern(status, MakeSearchPattern(QStringLiteral("name:"), false, false), false);
    QVERIFY(hit);
    QVERIFY(*hit);
}

void TestChapterText::rawLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("hit");
    QTest::newRow("markup is searched") << QByteArray("<P>a</P>\r\n") << QStringLiteral("<p>") << false << false
                                        << true;
    QTest::newRow("before the first tag")
        << QByteArray("Ahoj\r\n<p>") << QStringLiteral("Ahoj") << false << true << true;
    QTest::newRow("case kept") << QByteArray("<P>a</P>") << QStringLiteral("<p>") << false << true << false;
    QTest::newRow("Czech capitals") << cp(QStringLiteral("x\r\nŘEKA\r\n")) << QStringLiteral("řeka") << false << false
                                    << true;
    QTest::newRow("no line joining") << QByteArray("Ahoj\r\nsvete") << QStringLiteral("Ahoj svete") << false << false
                                     << false;
    QTest::newRow("line break in pattern")
        << QByteArray("Ahoj\r\nsvete") << QStringLiteral("Ahoj\r\nsvete") << false << false << false;
    QTest::newRow("no spacing: comma glues")
        << QByteArray("a slovo, b") << QStringLiteral("slovo") << true << false << false;
    QTest::newRow("whole word in raw line")
        << QByteArray("a slovo b\n") << QStringLiteral("slovo") << true << false << true;
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("a") << false << false << false;
}

void TestChapterText::rawLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, searchText);
    QFETCH(bool, wholeWords);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, hit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("0001.htm"));
    testfiles::write(path, file);
    const auto result
        = RawLinesHavePattern(path, MakeSearchPattern(searchText, wholeWords, caseSensitive), caseSensitive);
    QVERIFY(result);
    QCOMPARE(*result, hit);
}

QTEST_GUILESS_MAIN(TestChapterText)
#include "tst_chaptertext.moc"
