#include "UpdateSession.h"

#include "ChapterTree.h"
#include "IniFile.h"
#include "MainTypes.h"
#include "Profile.h"
#include "THTTPGet.h"
#include "UpdateSignature.h"
#include "UpdateStaging.h"
#include "UpdateVerify.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

Q_LOGGING_CATEGORY(lcUpdate, "tavio.update")

namespace tavio {

namespace {

// A server that has not answered the first request by then can be given up.
constexpr int DefaultNoAnswerStopMs = 5000;

// The platform's program files begin with their format's signature; an error page
// or a cut-off body does not. A downloaded file without it never replaces the program.
bool looksLikeProgramFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head == QByteArrayLiteral("\x7F" "ELF") || head.startsWith("#!") || head.startsWith("MZ");
}

} // namespace

UpdateSession::UpdateSession(UpdateHost host, UpdatePrompt* prompt, QObject* parent)
    : QObject(parent)
    , m_host(std::move(host))
    , m_prompt(prompt)
{
    m_noAnswerTimer = new QTimer(this);
    m_noAnswerTimer->setSingleShot(true);
    m_noAnswerTimer->setInterval(DefaultNoAnswerStopMs);
    connect(m_noAnswerTimer, &QTimer::timeout, this, [this] {
        // A server that takes the request and never answers must not hold the window.
        if (!m_UpdateIdle && !m_iniAnswered && m_htpgIniFile->isBusy())
            Q_EMIT abortEnabled(true);
    });
    createComponents();
}

UpdateSession::~UpdateSession()
{
    // The components cancel their transfers; none of their events reaches us any more.
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo, m_htpgSignature})
        delete c;
    if (!m_stagingFolder.isEmpty())
        UpdateStaging(m_chapterFolder).clear();
}

void UpdateSession::createComponents()
{
    const auto make = [this](const char* name, bool binary) {
        auto* c = new THTTPGet(this);
        c->setObjectName(QLatin1String(name));
        c->setAcceptTypes(QStringLiteral("*/*"));
        c->setAgent(QStringLiteral("HTTPGet"));
        c->setUseCache(false);
        c->setWaitThread(false);
        c->setBinaryData(binary);
        if (m_stallTimeoutMs > 0)
            c->setStallTimeout(m_stallTimeoutMs);
        return c;
    };
    m_htpgIniFile = make("htpgIniFile", true);
    m_htpgPgm = make("htpgPgm", true);
    m_htpgIniFiles = make("htpgIniFiles", true);
    m_htpgFiles = make("htpgFiles", true);
    m_htpgSubFiles = make("htpgSubFiles", true);
    m_htpgWhatsNew = make("htpgWhatsNew", false);
    m_htpgUserInfo = make("htpgUserInfo", false);
    m_htpgSignature = make("htpgSignature", false);
    m_htpgWhatsNew->setURL(m_host.addresses.whatsNew);
    m_htpgUserInfo->setURL(m_host.addresses.userInfo);

    connect(m_htpgIniFile, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { htpgIniFileProgress(t, r); });
    connect(m_htpgIniFile, &THTTPGet::OnDoneFile, this,
            [this](QObject*, const QString& name, int) { htpgIniFileDoneFile(name); });
    connect(m_htpgIniFile, &THTTPGet::OnError, this, &UpdateSession::htpgIniFileError);

    connect(m_htpgPgm, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { htpgPgmProgress(t, r); });
    connect(m_htpgPgm, &THTTPGet::OnDoneFile, this, [this](QObject*, const QString& name, int) { htpgPgmDoneFile(name); });
    connect(m_htpgPgm, &THTTPGet::OnError, this, &UpdateSession::htpgPgmError);

    connect(m_htpgIniFiles, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { htpgIniFilesProgress(t, r); });
    connect(m_htpgIniFiles, &THTTPGet::OnDoneFile, this,
            [this](QObject*, const QString& name, int) { htpgIniFilesDoneFile(name); });
    connect(m_htpgIniFiles, &THTTPGet::OnError, this, &UpdateSession::htpgIniFilesError);

    for (THTTPGet* c : {m_htpgFiles, m_htpgSubFiles}) {
        connect(c, &THTTPGet::OnProgress, this, [this](QObject*, int t, int r) { FilesProgress(t, r); });
        connect(c, &THTTPGet::OnDoneFile, this, [this, c](QObject*, const QString& name, int) { FilesDoneFile(c, name); });
        connect(c, &THTTPGet::OnError, this, [this, c] {
            logRefusedStatus(c, QFileInfo(c->FileName()).fileName());
            FilesError(c);
        });
    }

    connect(m_htpgWhatsNew, &THTTPGet::OnDoneString, this,
            [this](QObject*, const QString& text) { Q_EMIT whatsNewArrived(text); });
    connect(m_htpgWhatsNew, &THTTPGet::OnError, this, [this] {
        logRefusedStatus(m_htpgWhatsNew, QStringLiteral("whats.new"));
        AddLogLine(QStringLiteral("Nelze stáhnout soubor s informacemi o nové verzi programu"), LogKind::Plain);
    });
    connect(m_htpgSignature, &THTTPGet::OnDoneString, this,
            [this](QObject*, const QString& text) { signatureArrived(text); });
    connect(m_htpgSignature, &THTTPGet::OnError, this, &UpdateSession::signatureMissing);
    connect(m_htpgUserInfo, &THTTPGet::OnDoneString, this,
            [this](QObject*, const QString& text) { Q_EMIT userInfoArrived(text); });
    connect(m_htpgUserInfo, &THTTPGet::OnError, this, [this] {
        logRefusedStatus(m_htpgUserInfo, P(ProfileId::UserInfoFileName));
        AddLogLine(QStringLiteral("Nelze stáhnout soubor s informacemi pro uživatele !"), LogKind::Plain);
    });
}

bool UpdateSession::busy() const
{
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo, m_htpgSignature})
        if (c->isBusy())
            return true;
    return false;
}

void UpdateSession::abandonTransfers()
{
    // Transfers still running end without a word: their components are replaced by
    // fresh ones that know nothing of them.
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo, m_htpgSignature}) {
        c->disconnect(this);
        c->CancelFetch();
        c->deleteLater();
    }
    createComponents();
}

void UpdateSession::close()
{
    QFile::remove(updateIniPath());
    abandonTransfers();
    if (!m_stagingFolder.isEmpty()) {
        // The chapter in progress never reached the chapter folder; its parts go.
        QString error;
        if (!UpdateStaging(m_chapterFolder).clear(&error))
            qCWarning(lcUpdate) << "cannot remove" << error;
        m_stagingFolder.clear();
    }
    // Chapters that arrived whole before the window closed are in the folder but
    // not yet in the catalogue.
    if (m_chaptersPlaced && m_DownloadState != DownloadState::Finished)
        m_CatalogueChanged = true;
    m_FilesIni.reset();
    m_DownloadState = DownloadState::Finished;
    m_UpdateIdle = true;
}

void UpdateSession::setNoAnswerStopDelay(int ms)
{
    m_noAnswerTimer->setInterval(ms);
}

void UpdateSession::setStallTimeout(int ms)
{
    m_stallTimeoutMs = ms;
    for (THTTPGet* c : {m_htpgIniFile, m_htpgPgm, m_htpgIniFiles, m_htpgFiles, m_htpgSubFiles, m_htpgWhatsNew,
                        m_htpgUserInfo, m_htpgSignature})
        c->setStallTimeout(ms);
}

QString UpdateSession::updateIniPath() const
{
    return m_host.layout.updateFolder() + P(ProfileId::UpdateIniFileName);
}

QString UpdateSession::filesIniPath() const
{
    return m_host.layout.updateFolder() + P(ProfileId::FilesIniFileName);
}

QString UpdateSession::chapterFolder() const
{
    const QString folder = m_host.chapterFolder ? m_host.chapterFolder() : QString();
    return folder.isEmpty() ? folder : WithTrailingSeparator(QDir::fromNativeSeparators(folder));
}

int UpdateSession::CountLocalChapters() const
{
    const ChapterTree* tree = m_host.catalogueTree ? m_host.catalogueTree() : nullptr;
    return tree ? tavio::CountLocalChapters(*tree) : -1;
}

void UpdateSession::AddLogLine(const QString& text, LogKind kind)
{
    Q_EMIT logLine(text, kind);
}

void UpdateSession::EnableUpdateControls(bool idle)
{
    if (idle) {
        setPanel(0, QString());
        setPanel(1, QString());
    }
    Q_EMIT controlsEnabled(idle);
}

void UpdateSession::setPanel(int panel, const QString& text, bool repaintNow)
{
    m_panels[panel] = text;
    Q_EMIT panelChanged(panel, text, repaintNow);
}

void UpdateSession::logRefusedStatus(THTTPGet* component, const QString& what)
{
    // An error page is not what was asked for; say which answer came instead.
    if (component->LastStatusFailed())
        AddLogLine(QStringLiteral("Server odmítl soubor %1: HTTP %2").arg(what, component->LastStatus()),
                   LogKind::Error);
}

// ---------------------------------------------------------------- the check

void UpdateSession::start(const UpdateOptions& options)
{
    m_options = options;
    // The package manager replaces an installed copy; this one only brings chapters.
    if (m_host.layout.isInstalled())
        m_options.program = false;
    m_AbortRequested = false;
    m_UpdateIdle = false;
    m_CatalogueChanged = false;
    m_iniAnswered = false;
    m_chaptersPlaced = false;
    // A chapter a crash left half done in the staging folder goes now.
    if (const QString folder = chapterFolder(); !folder.isEmpty()) {
        QString error;
        if (!UpdateStaging(folder).clear(&error))
            qCWarning(lcUpdate) << "cannot remove" << error;
    }
    Q_EMIT logCleared();
    EnableUpdateControls(false);
    Q_EMIT whatsNewCleared();
    Q_EMIT abortEnabled(false); // usable with the first answer
    const QString connecting = QStringLiteral("Připojování se k serveru ...");
    setPanel(0, connecting);
    AddLogLine(connecting, LogKind::Progress);
    if (!m_host.serverNote.isEmpty())
        AddLogLine(m_host.serverNote, LogKind::Plain);
    m_htpgIniFile->setFileName(updateIniPath());
    m_htpgIniFile->setURL(m_host.addresses.updateIni);
    m_noAnswerTimer->start();
    m_htpgIniFile->FetchToFile();
}

void UpdateSession::abort()
{
    if (m_UpdateIdle)
        return;
    if (!m_prompt->ask(QStringLiteral("Stahování souborů ještě nebylo dokončeno.Opravdu chcete ukončit aktualizaci."),
                       UpdatePrompt::Icon::Question, true))
        return;
    m_AbortRequested = true;
    QFile::remove(updateIniPath());
    // A request the server has not answered yet has nothing to finish; the program
    // file is never kept in part. Both end at once instead of at the next chunk,
    // which a silent server never sends.
    if (m_htpgIniFile->isBusy() && !m_iniAnswered)
        m_htpgIniFile->CancelFetch();
    if (m_htpgIniFiles->isBusy() && !m_filesAnswered)
        m_htpgIniFiles->CancelFetch();
    if (m_htpgPgm->isBusy())
        m_htpgPgm->CancelFetch();
}

void UpdateSession::htpgIniFileProgress(int total, int readed)
{
    m_iniAnswered = true;
    const QString connected = QStringLiteral("Připojeno k serveru.");
    setPanel(0, connected);
    AddLogLine(connected, LogKind::Progress);
    const QString downloading = QStringLiteral("Stahování inicializačního souboru ...");
    setPanel(0, downloading);
    AddLogLine(downloading, LogKind::Progress);
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    Q_EMIT progress(total, readed);
}

void UpdateSession::htpgIniFileError()
{
    m_noAnswerTimer->stop();
    logRefusedStatus(m_htpgIniFile, P(ProfileId::UpdateIniFileName));
    setPanel(0, QStringLiteral("Připojení k serveru selhalo"));
    AddLogLine(QStringLiteral("Připojení k serveru selhalo !"), LogKind::Error);
    m_prompt->tell(QStringLiteral("Nelze stáhnout soubor s informacemi"), UpdatePrompt::Icon::Error);
    AddLogLine(QStringLiteral("Nelze stáhnout soubor s informacemi"), LogKind::Progress);
    m_UpdateIdle = true;
    QFile::remove(updateIniPath());
    EnableUpdateControls(true);
}

void UpdateSession::htpgIniFileDoneFile(const QString& fileName)
{
    m_noAnswerTimer->stop();
    const QString done = QStringLiteral("Stahování inicializačního souboru dokončeno.");
    setPanel(0, done);
    AddLogLine(done, LogKind::Done);

    m_htpgUserInfo->FetchToString();

    const QString path = QDir(m_host.layout.updateFolder()).absoluteFilePath(fileName);
    const IniFile ini = IniFile::load(path).value_or(IniFile());
    const TProgramVersion running = GetProgramVersion();
    const UpdateDescriptor descriptor = ReadUpdateDescriptor(ini, running);
    if (!descriptor.hasLastVersion) {
        if (m_prompt->ask(QStringLiteral("Chyba formátu inicializačního souboru. Chcete tento soubor zobrazit?"),
                          UpdatePrompt::Icon::Error, false)
            && m_host.showIniFile)
            m_host.showIniFile(QFileInfo(path).absoluteFilePath());
        AddLogLine(QStringLiteral("Chyba formátu inicializačního souboru !"), LogKind::Error);
    }
    m_ServerVersion = descriptor.version;
    m_LastFileIndex = descriptor.lastFileIndex;
    m_programExpected = ExpectedFile::fromIni(ini, QStringLiteral("program_file"), QStringLiteral("size"),
                                              QStringLiteral("sha256"));

    const UpdatePlan plan = PlanUpdate(descriptor, running, m_options);
    if (plan.whatsNew)
        m_htpgWhatsNew->FetchToString();
    setPanel(0, ServerVersionText(m_ServerVersion));

    if (plan.programDownload) {
        AddLogLine(QStringLiteral("Stahování nové verze programu ..."), LogKind::Progress);
        // With a key, the program file is taken only from a signed update.ini that
        // gives its size and hash.
        if (!m_host.updateKey.isEmpty())
            fetchSignature(Signed::UpdateIni);
        else
            StartProgramDownload();
        return;
    }
    if (m_options.program) {
        if (plan.noNewVersion) {
            m_prompt->tell(QStringLiteral("Nová verze programu nebyla nalezena. Zkuste to prosím později."),
                           UpdatePrompt::Icon::Error);
            AddLogLine(QStringLiteral("Nová verze programu nebyla nalezena."), LogKind::Progress);
        }
        QFile::remove(updateIniPath());
        m_UpdateIdle = true;
        EnableUpdateControls(true);
        if (plan.chapterCheck)
            ChapterCheck(descriptor.hasLastVersion);
        return;
    }
    if (plan.chapterCheck) {
        ChapterCheck(descriptor.hasLastVersion);
        return;
    }
    // Not reachable while one option is always checked; the run must still end.
    m_UpdateIdle = true;
    EnableUpdateControls(true);
}

void UpdateSession::ChapterCheck(bool sectionExisted)
{
    if (HasNewChapters(CountLocalChapters(), m_LastFileIndex)) {
        AddLogLine(QStringLiteral("Stahování seznamu souborů ..."), LogKind::Progress);
        StartChapterDownload();
        return;
    }
    if (sectionExisted) {
        m_prompt->tell(QStringLiteral("Nové díly seriálu nebyly nalezeny. Zkuste to prosím později."),
                       UpdatePrompt::Icon::Error);
        AddLogLine(QStringLiteral("Nové díly seriálu nebyly nalezeny."), LogKind::Progress);
    }
    QFile::remove(updateIniPath());
    QFile::remove(filesIniPath());
    m_UpdateIdle = true;
    EnableUpdateControls(true);
}

// ---------------------------------------------------------------- the program file

void UpdateSession::StartProgramDownload()
{
    m_htpgPgm->setFileName(programFolder() + P(ProfileId::ExeNameShort));
    m_htpgPgm->setURL(m_host.addresses.exe);
    m_htpgPgm->FetchToFile();
}

void UpdateSession::htpgPgmProgress(int total, int readed)
{
    Q_EMIT programBold(true);
    if (m_AbortRequested) {
        m_htpgPgm->CancelFetch();
        EnableUpdateControls(true);
        return;
    }
    m_UpdateIdle = false;
    EnableUpdateControls(false);
    setPanel(0, QStringLiteral("Stahování nové verze programu ... [") + ServerVersionText(m_ServerVersion)
                    + QLatin1Char(']'));
    setPanel(1, SizeText(readed, total));
    Q_EMIT progress(total, readed);
}

bool UpdateSession::swapProgramFile(const QString& downloaded)
{
    // Executable before any rename: whatever fails next, the user is told to use it.
    QFile::setPermissions(downloaded, QFile::permissions(downloaded) | QFileDevice::ExeOwner | QFileDevice::ExeUser
                                          | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    const QString folder = programFolder();
    const QString old = folder + P(ProfileId::OldExeName);
    if (!QFile::rename(m_host.programFile, old))
        return false;
    if (QFile::rename(downloaded, folder + P(ProfileId::ExeName)))
        return true;
    // The folder must never be left without a program: the old one goes back.
    if (!QFile::rename(old, m_host.programFile))
        qCWarning(lcUpdate) << "cannot move the program back:" << old;
    return false;
}

void UpdateSession::htpgPgmDoneFile(const QString& fileName)
{
    const QString downloaded = QDir(programFolder()).absoluteFilePath(fileName);
    if (!looksLikeProgramFile(downloaded)) {
        // A body delivered whole is a successful transfer, but no program.
        AddLogLine(QStringLiteral("Stažený soubor není program: ") + QFileInfo(downloaded).fileName(), LogKind::Error);
        htpgPgmError();
        return;
    }
    if (!MatchesExpected(downloaded, m_programExpected)) {
        AddLogLine(QFileInfo(downloaded).fileName() + QStringLiteral(": kontrolní součet nesouhlasí"), LogKind::Error);
        htpgPgmError();
        return;
    }
    AddLogLine(QStringLiteral("Stahování nové verze programu dokončeno"), LogKind::Done);
    m_UpdateIdle = true;
    Q_EMIT programBold(false);

    if (swapProgramFile(downloaded)) {
        QFile::remove(updateIniPath());
        m_RestartRequested = m_prompt->ask(
            QStringLiteral("Stahování nové verze programu bylo dokončeno. Pro dokončení aktualizačního procesu je "
                           "potřeba program ")
                + P(ProfileId::ApplicationTitle) + QStringLiteral(" zavřít ")
                + QStringLiteral("a znovu spustit. Chcete po dokončení stahování ")
                + QStringLiteral("všech položek program restartovat?"),
            UpdatePrompt::Icon::Question, false);
    } else {
        QString folderText = QDir::toNativeSeparators(programFolder());
        while (folderText.size() > 1 && (folderText.endsWith(QLatin1Char('/')) || folderText.endsWith(QLatin1Char('\\'))))
            folderText.chop(1);
        m_prompt->tell(QStringLiteral("Nemohu přejmenovat soubor exe => aktualizace nové verze programu nebude dokončena. "
                                      "Pro dokončení aktualizace přejmenujte soubor \"")
                           + P(ProfileId::ExeNameShort) + QStringLiteral("\" v adresáři ") + folderText
                           + QStringLiteral(", nebo stáhněte nový soubor ") + P(ProfileId::ExeName)
                           + QStringLiteral(" ručně pomocí odkazu ")
                           + QStringLiteral("\"Stáhnout soubor \"exe\" ručně\" v dialogovém okně \"Aktualizace\", ")
                           + QStringLiteral("ukončete program, stávající soubor přepište a program spusťte."),
                       UpdatePrompt::Icon::Error);
    }
    AfterProgram();
}

void UpdateSession::AfterProgram()
{
    if (m_options.files) {
        if (HasNewChapters(CountLocalChapters(), m_LastFileIndex)) {
            AddLogLine(QStringLiteral("Stahování seznamu souborů ..."), LogKind::Progress);
            StartChapterDownload();
            return;
        }
        m_prompt->tell(QStringLiteral("Nové díly seriálu nebyly nalezeny. Zkuste to prosím později."),
                       UpdatePrompt::Icon::Error);
        AddLogLine(QStringLiteral("Nové díly seriálu nenalezeny"), LogKind::Progress);
        QFile::remove(updateIniPath());
        QFile::remove(filesIniPath());
        m_UpdateIdle = true;
        EnableUpdateControls(true);
    } else {
        EnableUpdateControls(true);
    }
    if (m_RestartRequested)
        RestartProgram();
}

void UpdateSession::refuseProgram()
{
    const QString text = QStringLiteral("Nová verze programu nebude stažena: soubor ") + P(ProfileId::UpdateIniFileName)
                       + QStringLiteral(" není platně podepsán nebo neuvádí velikost a kontrolní součet programu.");
    AddLogLine(text, LogKind::Error);
    m_prompt->tell(text, UpdatePrompt::Icon::Error);
    m_UpdateIdle = true;
    AfterProgram();
}

void UpdateSession::fetchSignature(Signed what)
{
    m_signed = what;
    const QString& address = what == Signed::UpdateIni ? m_host.addresses.updateIni : m_host.addresses.filesIni;
    m_htpgSignature->setURL(address + QStringLiteral(".sig"));
    m_htpgSignature->FetchToString();
}

void UpdateSession::signatureArrived(const QString& text)
{
    const QString path = m_signed == Signed::UpdateIni ? updateIniPath() : filesIniPath();
    QFile f(path);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const bool valid = f.isOpen() && SignatureValid(bytes, text.toLatin1(), m_host.updateKey);
    if (m_signed == Signed::UpdateIni) {
        if (valid && !m_programExpected.size.isEmpty() && !m_programExpected.sha256.isEmpty())
            StartProgramDownload();
        else
            refuseProgram();
        return;
    }
    if (valid) {
        chapterListAccepted();
        return;
    }
    AddLogLine(QStringLiteral("Podpis seznamu souborů nesouhlasí."), LogKind::Error);
    htpgIniFilesError();
}

void UpdateSession::signatureMissing()
{
    if (m_signed == Signed::UpdateIni) {
        refuseProgram();
        return;
    }
    // A list without a signature is taken as before, and the log says so.
    AddLogLine(QStringLiteral("Seznam souborů není podepsán."), LogKind::Plain);
    chapterListAccepted();
}

void UpdateSession::htpgPgmError()
{
    logRefusedStatus(m_htpgPgm, P(ProfileId::ExeNameShort));
    m_prompt->tell(QStringLiteral("Nelze stáhnout soubor nové verze programu"), UpdatePrompt::Icon::Error);
    AddLogLine(QStringLiteral("Nelze stáhnout soubor nové verze programu !"), LogKind::Error);
    m_UpdateIdle = true;
    QFile::remove(updateIniPath());
    QFile::remove(programFolder() + P(ProfileId::ExeNameShort));
    EnableUpdateControls(true);
}

void UpdateSession::RestartProgram()
{
    // What closing asks (unsaved notes) is settled while this copy still holds the
    // lock: a cancel then starts nothing, and no second copy ever runs beside this one.
    if (m_host.settleCloseQuestions && !m_host.settleCloseQuestions()) {
        AddLogLine(QStringLiteral("Restart programu byl zrušen."), LogKind::Plain);
        return;
    }
    // The new copy must not find the marker of this one.
    if (m_host.releaseInstanceLock)
        m_host.releaseInstanceLock();
    // The window keeps painting during the pause, but takes no input.
    const QDeadlineTimer pause(m_restartDelayMs);
    while (!pause.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, int(std::max<qint64>(1, pause.remainingTime())));
    const bool started = m_host.startProgram ? m_host.startProgram(m_host.programFile)
                                             : QProcess::startDetached(m_host.programFile, {}, QString());
    if (!started)
        qCWarning(lcUpdate) << "cannot start" << m_host.programFile;
    if (m_host.quit)
        m_host.quit();
    else
        QCoreApplication::quit();
}

} // namespace tavio
