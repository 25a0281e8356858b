#include "UpdateSession.h"

#include "IniFile.h"
#include "MainTypes.h"
#include "Profile.h"
#include "THTTPGet.h"
#include "UpdateStaging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcUpdate)

// The chapter download of UpdateSession: files.ini, then chapter after chapter with
// its pictures, each put together in the staging folder and moved in whole.
namespace tavio {

namespace {

const QString StopPanelText = QStringLiteral("Stisknuto storno - dokončuji stažení aktuálního dílu ...");

} // namespace

// ---------------------------------------------------------------- the chapters

void UpdateSession::StartChapterDownload()
{
    m_filesAnswered = false;
    m_htpgIniFiles->setFileName(filesIniPath());
    m_htpgIniFiles->setURL(m_host.addresses.filesIni);
    m_htpgIniFiles->FetchToFile();
}

void UpdateSession::htpgIniFilesProgress(int total, int readed)
{
    m_filesAnswered = true;
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    Q_EMIT progress(total, readed);
}

void UpdateSession::htpgIniFilesError()
{
    logRefusedStatus(m_htpgIniFiles, P(ProfileId::FilesIniFileName));
    const QString text = QStringLiteral("Nelze stáhnout soubor s informacemi !");
    m_prompt->tell(text, UpdatePrompt::Icon::Error);
    AddLogLine(text, LogKind::Plain);
    m_UpdateIdle = true;
    QFile::remove(filesIniPath());
    EnableUpdateControls(true);
}

void UpdateSession::htpgIniFilesDoneFile(const QString& fileName)
{
    AddLogLine(QStringLiteral("Stahování seznamu souborů dokončeno"), LogKind::Done);
    m_FilesIni.emplace(IniFile::load(QDir(programFolder()).absoluteFilePath(fileName)).value_or(IniFile()));
    if (!m_host.updateKey.isEmpty()) {
        fetchSignature(Signed::FilesIni);
        return;
    }
    chapterListAccepted();
}

void UpdateSession::chapterListAccepted()
{
    m_chapterFolder = chapterFolder();
    m_FileIndex = CountLocalChapters() + 1;
    if (StartChapter(m_htpgFiles))
        setPanel(0, QStringLiteral("Stahování souboru ..."));
}

THTTPGet* UpdateSession::otherComponent(THTTPGet* component) const
{
    return component == m_htpgFiles ? m_htpgSubFiles : m_htpgFiles;
}

bool UpdateSession::StartChapter(THTTPGet* component)
{
    const QString name = m_FilesIni->file(m_FileIndex);
    m_chapterFile = name;
    m_chapterAssets.clear();
    m_SubDirName.clear();
    m_DownloadChapterPath = m_chapterFolder + name;
    m_DownloadState = DownloadState::AwaitChapter;
    if (name.isEmpty()) {
        // A section without a chapter file: nothing can be fetched for it.
        setPanel(1, QString());
        AddLogLine(QStringLiteral("Stahování souboru ..."), LogKind::Progress);
        FilesError(component);
        return false;
    }
    if (!IsSafeFileName(name)) {
        RefuseName(component, QStringLiteral("file"), name);
        return false;
    }
    const UpdateStaging staging(m_chapterFolder);
    QString error;
    if (m_chapterFolder.isEmpty() || !staging.prepare(&error)) {
        // Without a place to put the chapter together nothing may be fetched.
        if (!error.isEmpty())
            AddLogLine(QStringLiteral("Nelze vytvořit adresář ") + error, LogKind::Error);
        FilesError(component);
        return false;
    }
    m_stagingFolder = staging.path();
    component->setFileName(staging.chapterTarget(name));
    component->setURL(UpdateChapterList::chapterAddress(m_host.addresses.chapters, name));
    setPanel(1, name);
    AddLogLine(QStringLiteral("Stahování souboru ") + name + QStringLiteral("..."), LogKind::Progress);
    component->FetchToFile();
    return true;
}

void UpdateSession::FilesProgress(int total, int readed)
{
    if (m_AbortRequested && m_panels[0] != StopPanelText)
        setPanel(0, StopPanelText, true);
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    Q_EMIT filesBold(true);
    if (!m_AbortRequested)
        setPanel(0, QStringLiteral("Stahování souboru ..."));
    Q_EMIT progress(total, readed);
}

void UpdateSession::FilesDoneFile(THTTPGet* component, const QString& fileName)
{
    THTTPGet* other = otherComponent(component);
    AddLogLine(QStringLiteral("Stahování souboru ") + QFileInfo(fileName).fileName() + QStringLiteral(" dokončeno"),
               LogKind::Done);
    const UpdateStaging staging(m_chapterFolder);
    // The file that just came: the chapter's own, or picture number SubFileIndex.
    const QString key = m_DownloadState == DownloadState::AwaitChapter ? QStringLiteral("file")
                                                                       : QStringLiteral("file") + QString::number(m_SubFileIndex);
    if (!m_FilesIni->matches(m_FileIndex, key, fileName)) {
        AddLogLine(QFileInfo(fileName).fileName() + QStringLiteral(": kontrolní součet nesouhlasí"), LogKind::Error);
        FilesError(component);
        return;
    }

    if (m_DownloadState == DownloadState::AwaitChapter) {
        const QString dir = m_FilesIni->dir(m_FileIndex);
        m_SubDirName = AssetFolderName(dir);
        if (!m_SubDirName.isEmpty()) {
            if (!IsSafeFileName(m_SubDirName)) {
                RefuseName(other, QStringLiteral("dir"), dir);
                return;
            }
            staging.makeAssetFolder(m_SubDirName);
        }
        m_SubFileIndex = 0;
        m_DownloadState = DownloadState::AwaitAsset;
    }

    if (m_DownloadState == DownloadState::AwaitAsset) {
        ++m_SubFileIndex;
        const QString asset = m_FilesIni->asset(m_FileIndex, m_SubFileIndex);
        if (!asset.isEmpty()) {
            if (!IsSafeFileName(asset)) {
                RefuseName(other, QStringLiteral("file") + QString::number(m_SubFileIndex), asset);
                return;
            }
            m_chapterAssets.append(asset);
            other->setURL(UpdateChapterList::assetAddress(m_host.addresses.chapters, m_SubDirName, asset));
            // Without an asset folder the pictures lie beside the chapter.
            other->setFileName(staging.assetTarget(m_SubDirName, asset));
            setPanel(1, asset);
            AddLogLine(QStringLiteral("Stahování souboru ") + asset + QStringLiteral("..."), LogKind::Progress);
            other->FetchToFile();
            return;
        }
        // Every file of the chapter is here: it goes into the chapter folder whole.
        if (!placeChapter(component))
            return;
        if (m_FileIndex < m_LastFileIndex && !m_AbortRequested) {
            ++m_FileIndex;
            StartChapter(other);
            return;
        }
        m_DownloadState = DownloadState::Finished;
    }

    if (m_DownloadState == DownloadState::Finished)
        Finish(component == m_htpgSubFiles);
}

bool UpdateSession::placeChapter(THTTPGet* component)
{
    QString error;
    const bool ok = UpdateStaging(m_chapterFolder).place(m_chapterFile, m_SubDirName, m_chapterAssets, &error);
    m_stagingFolder.clear();
    if (ok) {
        m_chaptersPlaced = true;
        return true;
    }
    AddLogLine(QStringLiteral("Nelze přesunout soubor ") + error, LogKind::Error);
    FilesError(component);
    return false;
}

void UpdateSession::RefuseName(THTTPGet* component, const QString& key, const QString& value)
{
    AddLogLine(QStringLiteral("Seznam souborů uvádí v oddílu [%1] nepřípustný název %2=\"%3\" (vede mimo adresář "
                              "se soubory)")
                   .arg(m_FileIndex)
                   .arg(key, value),
               LogKind::Error);
    FilesError(component);
}

void UpdateSession::FilesError(THTTPGet* component)
{
    const QString text = component == m_htpgFiles ? QStringLiteral("Nelze stáhnout nové díly seriálu !")
                                                  : QStringLiteral("Nelze stáhnout nové díly seriálu");
    m_prompt->tell(text, UpdatePrompt::Icon::Error);
    AddLogLine(text, LogKind::Error);
    m_CatalogueChanged = true;
    m_UpdateIdle = true;
    QFile::remove(filesIniPath());
    // The failed chapter never reached the chapter folder: what the user had stays
    // as it was, and only the staging folder goes.
    if (!m_stagingFolder.isEmpty()) {
        QString error;
        if (!UpdateStaging(m_chapterFolder).clear(&error))
            qCWarning(lcUpdate) << "cannot remove" << error;
        m_stagingFolder.clear();
    }
    m_FilesIni.reset();
    m_DownloadState = DownloadState::Finished;
    EnableUpdateControls(true);
}

void UpdateSession::Finish(bool onSubFiles)
{
    m_prompt->tell(QStringLiteral("Stahování nových dílů seriálu bylo dokončeno."), UpdatePrompt::Icon::Information);
    m_UpdateIdle = true;
    m_FilesIni.reset();
    Q_EMIT abortEnabled(false);
    const QString tail = onSubFiles ? QString() : QStringLiteral(" ...");
    setPanel(0, QStringLiteral("Aktualizuji seznam souborů") + tail);
    setPanel(1, QString(), true);
    if (m_host.rebuildCatalogue)
        m_host.rebuildCatalogue(m_chapterFolder);
    setPanel(0, QStringLiteral("Aktualizuji vlastní seznam souborů") + tail, true);
    if (m_host.refreshSearchList)
        m_host.refreshSearchList();
    EnableUpdateControls(true);
    if (m_host.enableNextChapter)
        m_host.enableNextChapter();
    if (m_RestartRequested)
        RestartProgram();
}

} // namespace tavio
