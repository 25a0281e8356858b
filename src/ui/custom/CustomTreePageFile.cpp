// The custom tree page: its file at start, at exit and on command, the reset and adding a chapter.
#include "CustomTreePage.h"

#include "Catalogue.h"
#include "CustomTree.h"
#include "CustomTreeEditor.h"
#include "ImageList.h"
#include "MessageService.h"
#include "Profile.h"
#include "ShellOpener.h"
#include "widgets/HintedToolBar.h"
#include "widgets/PublisherLogo.h"
#include "widgets/StatusBar.h"
#include "widgets/TreeModel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMimeData>
#include <QTreeView>

Q_LOGGING_CATEGORY(lcCustomTreePage, "tavio.customtree")

namespace tavio {

namespace {

const QString EmptyList = QStringLiteral(
    "Seznam souborů je prázdný - proveďte nejprve aktualizaci souborů pomocí menu \"Nástroje -> Aktualizace\"");

} // namespace

void CustomTreePage::replaceNodes(const std::function<void()>& change)
{
    m_model->beginBulk();
    m_editor->forgetMark();
    m_dragged = nullptr;
    change();
    m_model->endBulk();
    // A reset of the model reports no selection change; the old nodes are gone.
    trwCustomChange(selectedNode());
    updateMoveHint();
}

bool CustomTreePage::LoadCustomTree(const QString& path)
{
    // Read aside: a file that cannot be opened leaves the tree, its mark and the view as they are.
    ChapterTree fresh;
    bool replaced = false;
    const bool ok = tavio::LoadCustomTree(fresh, path, &m_lastError, &replaced);
    if (replaced)
        replaceNodes([&] { m_tree.swap(fresh); });
    return ok;
}

bool CustomTreePage::SaveCustomTree(const QString& path, QString* error)
{
    return tavio::SaveCustomTree(m_tree, path, error);
}

void CustomTreePage::CopyCatalogueToCustomTree()
{
    replaceNodes([this] { tavio::CopyCatalogueToCustomTree(m_tree, m_catalogue); });
}

bool CustomTreePage::IsInCustomTree(const QString& caption) const
{
    return tavio::IsInCustomTree(m_tree, caption);
}

bool CustomTreePage::loadAtStart(const QString& path)
{
    m_startUpWarning.clear();
    if (LoadCustomTree(path))
        return true;
    if (QFileInfo::exists(path)) {
        const QString br = P(ProfileId::LineBreak);
        m_startUpWarning = QStringLiteral("Vlastní seznam souborů se nepodařilo načíst (soubor ")
            + QDir::toNativeSeparators(path) + QStringLiteral(").") + br
            + QStringLiteral("Místo něj je zobrazen seznam z karty \"Seznam souborů\".") + br + br;
        QString error;
        if (BackUpCustomTree(path, &error)) {
            qCWarning(lcCustomTreePage) << "the custom tree file did not load; kept as"
                                        << CustomTreeBackupPath(path);
            m_startUpWarning += QStringLiteral("Původní soubor je zálohován jako ")
                + QDir::toNativeSeparators(CustomTreeBackupPath(path)) + QLatin1Char('.');
        } else {
            qCWarning(lcCustomTreePage) << "the custom tree file did not load and cannot be backed up:" << error;
            m_unsavedBrokenFile = QFileInfo(path).absoluteFilePath();
            m_startUpWarning += QStringLiteral("Původní soubor se nepodařilo zálohovat (")
                + QDir::toNativeSeparators(CustomTreeBackupPath(path)) + QStringLiteral("), proto zůstane beze změny "
                                                                                    "a změny vlastního seznamu se "
                                                                                    "neuloží.");
        }
    }
    CopyCatalogueToCustomTree();
    return false;
}

bool CustomTreePage::saveAtExit(const QString& path)
{
    if (!m_unsavedBrokenFile.isEmpty() && QFileInfo(path).absoluteFilePath() == m_unsavedBrokenFile) {
        m_lastError = QStringLiteral("Soubor se při spuštění nepodařilo načíst ani zálohovat; zůstává beze změny.");
        return false;
    }
    return SaveCustomTree(path, &m_lastError);
}

QString CustomTreePage::saveAtExitWarning(const QString& path)
{
    const QString br = P(ProfileId::LineBreak);
    return QStringLiteral("Nemohu uložit vlastní seznam souborů.") + br + QStringLiteral("(soubor ")
        + QDir::toNativeSeparators(path) + QStringLiteral(").") + br + br
        + QStringLiteral("Zřejmě nemáte dostatečná práva přístupu k tomuto ")
        + QStringLiteral("souboru, nebo má tento soubor atribut \"Jen pro čtení\" . ")
        + QStringLiteral("Požádejte správce sítě o přidělení práv, popř. nastavte ")
        + QStringLiteral("souboru správně jeho atributy.") + br + br
        + QStringLiteral("Všechny změny ve vlastním seznamu souborů budou ztraceny.");
}

void CustomTreePage::tbshCustomTreeShow()
{
    if (m_tree.isEmpty())
        CopyCatalogueToCustomTree();
    m_trwCustom->setFocus();
}

void CustomTreePage::tlbResetCustTreeClick()
{
    m_resetFlag = true;
    const MsgResult answer = ShowMessage(
        m_main,
        QStringLiteral("Touto operací bude vlastní seznam souborů ztracen a nahrazen seznamem z karty \"Seznam "
                       "souborů\". Stávající seznam uložíte stiskem tlačítka\"Uložit vlastní seznam jako ...\" v "
                       "pravé tlačítkové liště. Chcete pokračovat?"),
        MsgIcon::Warning, MsgButtons::YesNoDefaultNo);
    if (answer != MsgResult::Yes)
        return;
    replaceNodes([this] {
        m_tree.clear();
        tavio::CopyCatalogueToCustomTree(m_tree, m_catalogue);
    });
    if (m_tree.isEmpty()) {
        ShowMessage(m_main, EmptyList, MsgIcon::Error);
        return;
    }
    selectNode(m_tree.topLevel(0));
}

void CustomTreePage::tlbOpenTreeClick()
{
    const QString path = m_fileDialog(m_main, false);
    if (!path.isEmpty())
        LoadCustomTree(path); // a broken file keeps what it held before the error, silently
}

void CustomTreePage::tlbSaveTreeClick()
{
    const QString path = m_fileDialog(m_main, true);
    if (path.isEmpty())
        return;
    QString error;
    if (!SaveCustomTree(path, &error))
        ShowMessage(m_main,
                    QStringLiteral("Nelze vytvořit soubor \"") + QDir::toNativeSeparators(path) + QStringLiteral("\".")
                        + P(ProfileId::LineBreak) + error,
                    MsgIcon::Error);
}

void CustomTreePage::popAddToMainListClick(TreeNode* catalogueNode)
{
    if (!IsChapter(catalogueNode))
        return;
    const QString caption = catalogueNode->caption;
    if (IsInCustomTree(caption)) {
        ShowMessage(m_main, QStringLiteral("Tato kapitola je ve vlastním seznamu již obsažena"), MsgIcon::Error);
        return;
    }
    m_model->addChild(nullptr, caption, image::Chapter);
    ShowMessage(m_main,
                QStringLiteral("Kapitola \"") + caption + QStringLiteral("\" byla přidána do vlastního seznamu"),
                MsgIcon::Information);
}

} // namespace tavio
