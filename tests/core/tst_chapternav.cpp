#include "ChapterNames.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "TextSize.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavio;

class TestChapterNav final : public QObject
{
    Q_OBJECT
private slots:
    void next_data();
    void next();
    void previous_data();
    void previous();
    void textSizeFreshUser();
    void textSizeCycle();
};

namespace {
void addRows(const char* name, const char* from, const char* files, const char* expected)
{
    QTest::newRow(name) << QString::fromUtf8(from)
                        << QString::fromUtf8(files).split(QLatin1Char(' '), Qt::SkipEmptyParts)
                        << QString::fromUtf8(expected);
}
} // namespace

void TestChapterNav::next_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected"); // empty: none
    addRows("next part", "0005-02.htm", "0005-03.htm 0006.htm", "0005-03.htm");
    addRows("next chapter", "0005-02.htm", "0006.htm 0006-01.htm", "0006.htm");
    addRows("next chapter in parts", "0005-02.htm", "0006-01.htm", "0006-01.htm");
    addRows("nothing after", "0005-02.htm", "0004.htm 0007.htm", "");
    addRows("single to single", "0005.htm", "0006.htm", "0006.htm");
    addRows("single to parts", "0005.htm", "0006-01.htm", "0006-01.htm");
    addRows("single, none", "0005.htm", "0006-02.htm", "");
    addRows("part 99 tries 100", "0009-99.htm", "0009-100.htm 0010.htm", "0009-100.htm");
    addRows("part 99 falls through", "0009-99.htm", "0010.htm", "0010.htm");
    addRows("not a number", "abcd.htm", "abce.htm", "");
    addRows("part not a number", "0005-xy.htm", "0006.htm", "");
    addRows("chapter text kept for the next part", "abcd-01.htm", "abcd-02.htm", "abcd-02.htm");
    addRows("name without extension", "0005-01", "0005-02.htm", "0005-02.htm");
}

void TestChapterNav::next()
{
    QFETCH(QString, from);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    for (const QString& f : files)
        testfiles::write(dir + f, "x");
    const bool forward = QByteArray(QTest::currentTestFunction()) == "next";
    const auto result = forward ? NextChapterFile(dir + from) : PreviousChapterFile(dir + from);
    QCOMPARE(result.value_or(QString()), expected.isEmpty() ? QString() : dir + expected);
}

void TestChapterNav::previous_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");
    addRows("previous part", "0005-03.htm", "0005-02.htm 0004.htm", "0005-02.htm");
    addRows("only the previous part", "0005-03.htm", "0005-01.htm 0004.htm", "");
    addRows("first part to single", "0005-01.htm", "0004.htm 0004-02.htm", "0004.htm");
    addRows("single to single", "0005.htm", "0004.htm", "0004.htm");
    addRows("to the highest part up to ten", "0005-01.htm", "0004-01.htm 0004-02.htm 0004-03.htm", "0004-03.htm");
    addRows("eleven parts enter at ten", "0005.htm", "0004-01.htm 0004-10.htm 0004-11.htm", "0004-10.htm");
    addRows("first chapter", "0001.htm", "0001-01.htm", "");
    addRows("chapter zero", "0001.htm", "0000.htm", "0000.htm");
    addRows("zero has no parts", "0001.htm", "0000-01.htm", "");
    addRows("not a number", "abcd.htm", "abcc.htm", "");
    addRows("part 00", "0005-00.htm", "0004.htm", "0004.htm");
}

void TestChapterNav::previous()
{
    next();
}

void TestChapterNav::textSizeFreshUser()
{
    QTemporaryDir tmp;
    SettingsStore store(tmp.filePath(QStringLiteral("hive.ini")));
    TextSize size(store);
    // Without the view's key the program never creates it.
    size.startupPrepare();
    size.startupSaveViewSetting();
    QVERIFY(!store.keyExists(TextSize::viewKey()));
    QCOMPARE(*store.readBinary(TextSize::savedKey(), TextSize::valueName()), QByteArray("\x02\0\0\0", 4));
    QCOMPARE(size.readChosenSize(), 2);
    size.SetViewTextSize(false, 4);
    QVERIFY(!store.keyExists(TextSize::viewKey()));
}

void TestChapterNav::textSizeCycle()
{
    QTemporaryDir tmp;
    SettingsStore store(tmp.filePath(QStringLiteral("hive.ini")));
    // The user's own view setting is 1; the key holds another value, so it exists.
    store.writeBinary(TextSize::viewKey(), TextSize::valueName(), QByteArray("\x01\0\0\0", 4));
    TextSize size(store);
    size.startupPrepare();
    QCOMPARE(size.ReadViewTextSize(true), 2);
    size.startupSaveViewSetting();
    QCOMPARE(size.ReadViewTextSize(true), 1);
    // A chosen 4 goes into the view setting while a chapter loads ...
    size.writeChosenSize(4);
    size.SetViewTextSize(false, size.readChosenSize());
    QCOMPARE(*store.readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x04\0\0\0", 4));
    // ... and the user's value comes back afterwards.
    size.restoreViewSetting();
    QCOMPARE(*store.readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x01\0\0\0", 4));
    QCOMPARE(*store.readInteger(QStringLiteral("\\Software\\Marrowick\\Tavio\\"), QStringLiteral("IEFontSize")), 4);
    // The saved copy is a little-endian integer.
    size.SaveViewTextSize(0x0103);
    QCOMPARE(*store.readBinary(TextSize::savedKey(), TextSize::valueName()), QByteArray("\x03\x01\0\0", 4));
    // A view key without the value gets the default written by the first read.
    store.deleteValue(TextSize::viewKey(), TextSize::valueName());
    store.writeString(TextSize::viewKey(), QStringLiteral("Other"), QStringLiteral("x"));
    QCOMPARE(size.ReadViewTextSize(false), 2);
    QCOMPARE(*store.readBinary(TextSize::viewKey(), TextSize::valueName()), QByteArray("\x02\0\0\0", 4));
}

QTEST_GUILESS_MAIN(TestChapterNav)
#include "tst_chapternav.moc"
