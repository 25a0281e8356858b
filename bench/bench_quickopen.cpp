// bench_quickopen: how long one keystroke takes in the quick-open window over a
// large catalogue, from the key to the list repainted.
//
// The catalogue is generated: 2,000 chapters (by default) with Czech titles made of
// the words of the series' headings. Each query is typed letter by letter into the
// window's text box; every keystroke is timed from the key event to the list drawn
// again (a synchronous repaint of the list). The baseline is the toolkit's own
// filter on the same titles and keys: a QListView over a QSortFilterProxyModel with
// a case-insensitive fixed-string filter (which neither forgives diacritics nor
// ranks). The target is one frame, 16 ms, per keystroke.
//
// Run:  QT_QPA_PLATFORM=offscreen build/bench/bench_quickopen [chapters]

#include "FuzzyMatch.h"
#include "quickopen/TfrmQuickOpen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <QSortFilterProxyModel>
#include <QStringListModel>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr double FrameMs = 16.0;

std::vector<tavio::ChapterMatcher::Chapter> generate(int count)
{
    const QStringList words{QStringLiteral("Řetězce"), QStringLiteral("soubory"), QStringLiteral("události"),
        QStringLiteral("Dynamické"), QStringLiteral("struktury"), QStringLiteral("okna"), QStringLiteral("formuláře"),
        QStringLiteral("ukazatele"), QStringLiteral("třídy"), QStringLiteral("výjimky"), QStringLiteral("grafika"),
        QStringLiteral("tiskárna"), QStringLiteral("databáze"), QStringLiteral("komponenty"), QStringLiteral("vlákna"),
        QStringLiteral("Příklady"), QStringLiteral("cvičení"), QStringLiteral("práce"), QStringLiteral("proměnné"),
        QStringLiteral("pole")};
    const QStringList joins{QStringLiteral("a"), QStringLiteral("s"), QStringLiteral("v"), QStringLiteral("pro")};
    QRandomGenerator rng(20261209);
    std::vector<tavio::ChapterMatcher::Chapter> out;
    for (int i = 0; i < count; ++i) {
        QString title = words[int(rng.bounded(qsizetype(words.size())))];
        const int more = int(rng.bounded(1, 5));
        for (int w = 0; w < more; ++w)
            title += QLatin1Char(' ')
                + (w % 2 ? joins[int(rng.bounded(qsizetype(joins.size())))]
                         : words[int(rng.bounded(qsizetype(words.size())))].toLower());
        const QString file = QStringLiteral("%1-%2.htm")
                                 .arg(1 + i / 3, 4, 10, QLatin1Char('0'))
                                 .arg(1 + i % 3, 2, 10, QLatin1Char('0'));
        out.push_back({file + QStringLiteral(" [ ") + title + QStringLiteral(" ]"), file, title,
            QStringLiteral("/Htm/") + file});
    }
    return out;
}

struct Figures {
    std::vector<double> ms;
    double median() const
    {
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double max() const{return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    int over(double limit) const
    {
        return int(std::count_if(ms.begin(), ms.end(), [&](double x) { return x > limit; }));
    }
};

// Types each query letter by letter, clearing the box between queries.
Figures type(QLineEdit* box, QWidget* list, const QStringList& queries)
{
    Figures f;
    for (const QString& q : queries) {
        box->clear();
        QCoreApplication::processEvents();
        for (const QChar c : q) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QElapsedTimer t;
            t.start();
            QCoreApplication::sendEvent(box, &press);
            list->repaint();
            f.ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }
    return f;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const auto chapters = generate(count);
    const QStringList queries{QStringLiteral("retezce a soubory"), QStringLiteral("0412"), QStringLiteral("dyn str"),
        QStringLiteral("vlakna"), QStringLiteral("prikl cvic"), QStringLiteral("zzz")};
    QStringList recent;
    for (int i = 0; i < 10; ++i)
        recent << chapters[size_t(i * 97 % count)].path;

    tavio::TfrmQuickOpen window(chapters, recent);
    window.show();
    QCoreApplication::processEvents();
    type(window.edtQuery(), window.lstChapters(), { QStringLiteral("warm")});
    const Figures program = type(window.edtQuery(), window.lstChapters(), queries);

    QStringList titles;
    for (const auto& c : chapters)
        titles << c.title + QStringLiteral("  (") + c.fileName + QLatin1Char(')');
    QStringListModel source(titles);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&source);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    QWidget baseline;
    QLineEdit box(&baseline);
    QListView view(&baseline);
    view.setUniformItemSizes(true);
    view.setModel(&proxy);
    box.move(0, 0);
    view.setGeometry(0, 30, 500, 340);
    baseline.resize(520, 380);
    QObject::connect(&box, &QLineEdit::textChanged, &proxy, &QSortFilterProxyModel::setFilterFixedString);
    baseline.show();
    QCoreApplication::processEvents();
    type(&box, &view, { QStringLiteral("warm")});
    const Figures qt = type(&box, &view, queries);

    std::printf("Quick open, one keystroke to the list redrawn, %d chapters, %zu keystrokes, target < %.0f ms:\n",
        count, program.ms.size(), FrameMs);
    std::printf("  program (folding, fuzzy, ranked):         median %.2f ms, max %.2f ms, over target %d\n",
        program.median(), program.max(), program.over(FrameMs));
    std::printf("  Qt filter proxy (plain substring, unranked): median %.2f ms, max %.2f ms   ratio of medians %.1f\n",
        qt.median(), qt.max(), qt.median() > 0 ? program.median() / qt.median() : 0);
    return program.over(FrameMs) == 0 ? 0 : 1;
}
