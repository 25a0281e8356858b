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
#include "notes/NotesPage.h"
#include "widgets/PageControl.h"
#include "widgets/TreeModel.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <memory>

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
    // The notes page takes the colours when it is shown: a new palette for all its
    // controls is a cost the start-up need not pay.
    auto notesThemed = std::make_shared<bool>(false);
    connect(m_pgcFiles, &QTabWidget::currentChanged, this, [this, notesThemed](int index) {
        if (index == PageNotes && !*notesThemed) {
            applyThemeAround(m_notesPage);
            *notesThemed = true;
        }
    });
    const auto showTheme = [this, group, notesThemed](ReadingTheme theme) {
        for (QAction* a : group->actions())
            a->setChecked(a->data().toInt() == int(theme));
        *notesThemed = m_notesPage->isVisible();
        if (*notesThemed)
            applyThemeAround(m_notesPage);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("tavio::TfrmHelp") && w->isVisible())
                applyThemeAround(w);
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

void TfrmAll::applyThemeAround(QWidget* widget) const
{
    if (!widget)
        return;
    const ReadingTheme theme = m_state->theme();
    if (theme == ReadingTheme::Light) {
        widget->setPalette(QPalette());
        return;
    }
    const bool dark = theme == ReadingTheme::Dark;
    const QColor page = dark ? QColor(0x1f, 0x20, 0x23) : QColor(0xf4, 0xec, 0xd8);
    const QColor panel = dark ? QColor(0x2b, 0x2d, 0x31) : QColor(0xe9, 0xdf, 0xc6);
    const QColor text = dark ? QColor(0xd9, 0xd9, 0xd6) : QColor(0x43, 0x34, 0x22);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, panel);
    p.setColor(QPalette::Base, page);
    p.setColor(QPalette::AlternateBase, panel);
    p.setColor(QPalette::Button, panel);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, panel);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Link, dark ? QColor(0x8c, 0xb4, 0xff) : QColor(0x8a, 0x4b, 0x08));
    widget->setPalette(p);
}

} // namespace tavio
