// The main window's reading features: the history, the reading theme, the read marks
// and the chapters of the last update.
#include "TfrmAll.h"

#include "ChapterTree.h"
#include "FrameState.h"
#include "custom/CustomTreePage.h"
#include "custom/TreePopupMenu.h"
#include "library/CataloguePage.h"
#include "library/ChapterPage.h"
#include "library/ReadingMarks.h"
#include "widgets/TreeModel.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace tavio {

namespace {

QStringList chapterFileNames(const ChapterTree& tree)
{
    QStringList names;
    tree.forEach([&](TreeNode* n) {
        if (const QString name = ReadingMarkDelegate::chapterFileName(n); !name.isEmpty())
            names.append(name);
    });
    return names;
}

} // namespace

void TfrmAll::createReadingWiring()
{
    // Back and forward open other chapters through the usual way, notes and all.
    connect(m_chapter, &ChapterPage::historyOpenRequested, this, [this](const QString& path, const QString& anchor) {
        m_state->setCurrentChapterPath(path);
        OpenChapterFile(path, anchor);
    });
    m_treePopup->setFrameState(m_state);

    // Chapters gone from the folder are forgotten; an empty or failed listing forgets nothing.
    connect(m_catalogue, &CataloguePage::catalogueRebuilt, this, [this] {
        const QStringList names = chapterFileNames(m_catalogue->tree());
        if (!names.isEmpty())
            m_state->keepOnlyChapters(names);
    });

    // The reading theme, in the settings menu.
    QMenu* setting = menuBar()->findChild<QMenu*>(QStringLiteral("mnuSetting"));
    QMenu* themes = setting->addMenu(QStringLiteral("Barevný motiv kapitol"));
    themes->menuAction()->setObjectName(QStringLiteral("mnuTheme"));
    m_actions.insert(QStringLiteral("mnuTheme"), themes->menuAction());
    auto* group = new QActionGroup(this);
    struct Item
    {
        const char* name;
        const char* caption;
        ReadingTheme theme;
    };
    static constexpr Item items[] = {{"mnuThemeLight", "Světlý", ReadingTheme::Light},
                                     {"mnuThemeSepia", "Sepie", ReadingTheme::Sepia},
                                     {"mnuThemeDark", "Tmavý", ReadingTheme::Dark}};
    for (const Item& item : items) {
        QAction* a = themes->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QLatin1String(item.name));
        a->setCheckable(true);
        a->setData(int(item.theme));
        group->addAction(a);
        m_actions.insert(QLatin1String(item.name), a);
        const ReadingTheme theme = item.theme;
        connect(a, &QAction::triggered, this, [this, theme] { m_state->setTheme(theme); });
    }
    const auto showTheme = [group](ReadingTheme theme) {
        for (QAction* a : group->actions())
            a->setChecked(a->data().toInt() == int(theme));
    };
    connect(m_state, &FrameState::themeChanged, this, showTheme);
    showTheme(m_state->theme());
}

void TfrmAll::rebuildAfterUpdate(const QString& folder)
{
    const QStringList before = chapterFileNames(m_catalogue->tree());
    m_catalogue->BuildCatalogue(folder);
    QStringList added;
    for (const QString& name : chapterFileNames(m_catalogue->tree()))
        if (!before.contains(name))
            added.append(name);
    if (!added.isEmpty())
        m_state->setNewChapters(added);
}

} // namespace tavio
