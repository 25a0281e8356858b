// bench_customtree: how long the custom tree file takes to write and to read.
//
// Generates a custom tree of 100,000 nodes by default, shaped like a user's own
// arrangement: a few hundred top-level folders ("Díl 12 – Formuláře"), sub-folders
// two and three levels down, chapter captions "0123-04.htm [ Formuláře a dialogy ]"
// with Czech letters and an occasional "&" (written "&amp;"-free, so that the tree
// reads back as it was written). Then, with a warm cache (each operation runs once
// untimed), it alternates:
//   - tavio::SaveCustomTree(tree, file): pre-order, TABs, Windows-1250, CR LF, through
//     a temporary file that replaces the old one;
//   - tavio::LoadCustomTree(tree, file): read, build, decode entities, kind rule;
//   - cp file copy: the standard tool copying the same bytes (one process start included);
// and prints the median of each, their ratios to cp, and the time the custom tree page
// takes to load the same file into its view (model reset included). Every run's tree
// is checked against the generated one.
//
// Run:  QT_QPA_PLATFORM=offscreen build/bench/bench_customtree [nodes] [runs]
//       (defaults: 100000 nodes, 5 timed runs; offscreen is chosen when unset)

#include "Catalogue.h"
#include "ChapterTree.h"
#include "CustomTree.h"
#include "custom/CustomTreePage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr double TargetMs = 1000.0;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double timeMs(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

const QStringList& titles()
{
    static const QStringList list = {
        QStringLiteral("Formuláře a dialogy"), QStringLiteral("Práce se soubory"), QStringLiteral("Řetězce a znaky"),
        QStringLiteral("Ukazatele"),           QStringLiteral("Dědičnost tříd"),  QStringLiteral("Výjimky & chyby"),
        QStringLiteral("Šablony funkcí"),      QStringLiteral("Čtení vstupu"),    QStringLiteral("Žádosti přes síť"),
        QStringLiteral("Grafika a kreslení"),  QStringLiteral("Ladění programu"), QStringLiteral("Příkazová řádka"),
    };
    return list;
}

// A tree of about `nodes` nodes: folders of 5 to 40 entries, a quarter of the entries
// sub-folders while the depth allows, every leaf a chapter.
void generate(tavio::ChapterTree& tree, int nodes)
{
    std::mt19937 rng(2024);
    int made = 0, chapter = 0;
    std::function<void(tavio::TreeNode*, int)> fill = [&](tavio::TreeNode* parent, int depth) {
        const int entries = std::uniform_int_distribution<int>(5, 40)(rng);
        for (int i = 0; i < entries && made < nodes; ++i) {
            const QString& title = titles()[int(rng() % titles().size())];
            if (depth < 3 && rng() % 4 == 0) {
                tavio::TreeNode* folder = tree.addChild(
                    parent, QStringLiteral("Díl %1 – %2").arg(made).arg(title), tavio::image::FolderClosed);
                ++made;
                fill(folder, depth + 1);
                continue;
            }
            ++chapter;
            tree.addChild(parent,
                          QStringLiteral("%1-%2.htm [ %3 ]")
                              .arg(chapter / 100 % 10000, 4, 10, QLatin1Char('0'))
                              .arg(chapter % 100, 2, 10, QLatin1Char('0'))
                              .arg(title),
                          tavio::image::Chapter);
            ++made;
        }
    };
    while (made < nodes) {
        tavio::TreeNode* top = tree.addChild(nullptr, QStringLiteral("Díl %1").arg(made), tavio::image::FolderClosed);
        ++made;
        fill(top, 1);
    }
}

bool sameTree(const tavio::ChapterTree& a, const tavio::ChapterTree& b)
{
    const auto x = a.nodes();
    const auto y = b.nodes();
    if (x.size() != y.size())
        return false;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i]->caption != y[i]->caption || x[i]->level() != y[i]->level())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nodes = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir tmp;
    const QString saved = tmp.filePath(QStringLiteral("Custom.trw"));
    const QString copied = tmp.filePath(QStringLiteral("Copy.trw"));

    tavio::ChapterTree tree;
    const double generateMs = timeMs([&] { generate(tree, nodes); });
    int maxDepth = 0;
    tree.forEach([&](tavio::TreeNode* n) { maxDepth = std::max(maxDepth, n->level()); });

    // Warm-up: every operation once, untimed.
    bool ok = tavio::SaveCustomTree(tree, saved);
    tavio::ChapterTree loaded;
    ok = ok && tavio::LoadCustomTree(loaded, saved) && sameTree(tree, loaded);
    auto cp = [&] { return QProcess::execute(QStringLiteral("cp"), {saved, copied}) == 0; };
    ok = ok && cp();
    if (!ok) {
        std::fprintf(stderr, "bench_customtree: the round trip failed\n");
        return 1;
    }

    std::vector<double> save, load, copy, page;
    tavio::ChapterTree catalogue;
    tavio::CustomTreePage customPage(catalogue, nullptr);
    customPage.resize(600, 400);
    customPage.show();
    for (int r = 0; r < runs; ++r) {
        save.push_back(timeMs([&] { ok = tavio::SaveCustomTree(tree, saved) && ok; }));
        load.push_back(timeMs([&] {
            tavio::ChapterTree fresh;
            ok = tavio::LoadCustomTree(fresh, saved) && ok;
            loaded.swap(fresh);
        }));
        ok = sameTree(tree, loaded) && ok;
        copy.push_back(timeMs([&] { ok = cp() && ok; }));
        page.push_back(timeMs([&] {
            ok = customPage.LoadCustomTree(saved) && ok;
            QApplication::processEvents();
        }));
    }
    if (!ok) {
        std::fprintf(stderr, "bench_customtree: a timed run failed\n");
        return 1;
    }

    const double s = median(save), l = median(load), c = median(copy), p = median(page);
    std::printf("custom tree: %d nodes, depth up to %d, file %.1f MB (generated in %.0f ms)\n", tree.count(),
                maxDepth, double(QFileInfo(saved).size()) / (1024.0 * 1024.0), generateMs);
    std::printf("median of %d runs:\n", runs);
    std::printf("  SaveCustomTree        %8.1f ms   %5.1f x cp   %s\n", s, s / c, s < TargetMs ? "under 1 s" : "OVER 1 s");
    std::printf("  LoadCustomTree        %8.1f ms   %5.1f x cp   %s\n", l, l / c, l < TargetMs ? "under 1 s" : "OVER 1 s");
    std::printf("  cp (process included) %8.1f ms\n", c);
    std::printf("  page load into view   %8.1f ms   (LoadCustomTree, model reset, first layout)\n", p);
    return 0;
}
