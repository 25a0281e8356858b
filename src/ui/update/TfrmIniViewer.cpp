#include "TfrmIniViewer.h"

#include "HtmlView.h"
#include "MessageService.h"
#include "Profile.h"
#include "TextFile.h"
#include "TextSize.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMutex>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace tavio {

namespace {
constexpr int DesignWidth = 508;
constexpr int DesignHeight = 290;
// A descriptor is a few lines; a copy of anything larger is not what this window is for.
constexpr qint64 MaxCopyBytes = 64 * 1024 * 1024;
// The viewer's page asks for nothing but the file it shows: no picture, style sheet
// or frame from the disk or the network.
class OnlyShownFile final : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void setAllowed(const QUrl& url)
    {
        const QMutexLocker lock(&m_mutex);
        m_allowed = url;
    }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QMutexLocker lock(&m_mutex);
        if (info.requestUrl().adjusted(QUrl::RemoveFragment) != m_allowed)
            info.block(true);
    }

private:
    QMutex m_mutex;
    QUrl m_allowed;
};

} // namespace

TfrmIniViewer::TfrmIniViewer(QWidget* mainWindow, SettingsStore* store)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , m_saveDialog(&RunSaveFileDialog)
{
    setObjectName(QStringLiteral("frmIniViewer"));
    setProperty("helpContext", 99);
    setSizeGripEnabled(true);
    resize(DesignWidth, DesignHeight);

    m_store = store;
    m_onlyShownFile = new OnlyShownFile(this);

    m_btnSaveIni = new QPushButton(QStringLiteral("&Uložit"), this);
    m_btnSaveIni->setObjectName(QStringLiteral("btnSaveIni"));
    m_btnSaveIni->setDefault(true);
    m_btnSaveIni->setProperty("helpContext", 97);
    m_btnClose = new QPushButton(QStringLiteral("&Zavřít"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setAutoDefault(false);
    m_btnClose->setProperty("helpContext", 96);
    auto* panel = new QHBoxLayout;
    panel->setContentsMargins(8, 6, 8, 6);
    panel->addStretch(1);
    panel->addWidget(m_btnSaveIni);
    panel->addWidget(m_btnClose);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addStretch(1); // the view's place until it is made
    root->addLayout(panel);
    root->addWidget(m_statusBar);

    connect(m_btnSaveIni, &QPushButton::clicked, this, &TfrmIniViewer::btnSaveIniClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

HtmlView* TfrmIniViewer::wbIniViewer() const
{
    if (m_wbIniViewer)
        return m_wbIniViewer;
    auto* self = const_cast<TfrmIniViewer*>(this);
    m_wbIniViewer = new HtmlView(m_store, TextSize::viewKey(), TextSize::valueName(), self);
    m_wbIniViewer->setObjectName(QStringLiteral("wbIniViewer"));
    m_wbIniViewer->setProperty("helpContext", 98);
    // What it shows came from a server: data, never code. No script runs, and the
    // page reaches neither other local files nor the network.
    QWebEnginePage* page = m_wbIniViewer->engineView()->page();
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    page->setUrlRequestInterceptor(static_cast<OnlyShownFile*>(m_onlyShownFile));
    // The window shows the one file; it is no browser.
    m_wbIniViewer->setNavigationGuard([self](const QUrl& target) {
        return target.isLocalFile() && QFileInfo(target.toLocalFile()) == QFileInfo(self->m_path);
    });
    auto* root = static_cast<QVBoxLayout*>(self->layout());
    delete root->takeAt(0); // the stretch that kept its place
    root->insertWidget(0, m_wbIniViewer, 1);
    connect(m_wbIniViewer, &HtmlView::statusTextChanged, self->m_statusBar,
            [self](const QString& t) { self->m_statusBar->showMessage(t); });
    return m_wbIniViewer;
}

TfrmIniViewer::~TfrmIniViewer() = default;

void TfrmIniViewer::load(const QString& path)
{
    m_path = QFileInfo(path).absoluteFilePath();
    setWindowTitle(QDir::toNativeSeparators(m_path));
    if (QWidget* main = parentWidget())
        move(main->geometry().center() - QPoint(width() / 2, height() / 2));
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    static_cast<OnlyShownFile*>(m_onlyShownFile)->setAllowed(QUrl::fromLocalFile(m_path));
    wbIniViewer()->navigate(m_path);
}

void TfrmIniViewer::showFile(const QString& path)
{
    load(path);
    exec();
}

void TfrmIniViewer::openFile(const QString& path)
{
    load(path);
    show();
}

void TfrmIniViewer::btnSaveIniClick()
{
    const QString caption = windowTitle();
    const QString ext = QFileInfo(caption).suffix();
    m_defaultSuffix = ext;
    const QString target = m_saveDialog(
        this, SaveFileRequest{caption, QStringLiteral("soubory [*.") + ext + QStringLiteral("]|*.") + ext, ext});
    if (target.isEmpty())
        return;
    FileError error;
    const auto bytes = ReadFileBytes(m_path, MaxCopyBytes, &error);
    if (!bytes || !WriteFileBytes(target, *bytes, &error))
        ShowMessage(this,
                    QStringLiteral("Nelze uložit soubor ") + QDir::toNativeSeparators(target) + QLatin1Char('.')
                        + P(ProfileId::LineBreak) + error.message,
                    MsgIcon::Error);
}

} // namespace tavio
