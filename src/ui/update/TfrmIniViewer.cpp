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
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tavio {

namespace {
constexpr int DesignWidth = 508;
constexpr int DesignHeight = 290;
// A descriptor is a few lines; a copy of anything larger is not what this window is for.
constexpr qint64 MaxCopyBytes = 64 * 1024 * 1024;
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

    m_wbIniViewer = new HtmlView(store, TextSize::viewKey(), TextSize::valueName(), this);
    m_wbIniViewer->setObjectName(QStringLiteral("wbIniViewer"));
    m_wbIniViewer->setProperty("helpContext", 98);
    // The window shows the one file; it is no browser.
    m_wbIniViewer->setNavigationGuard([this](const QUrl& target) {
        return target.isLocalFile() && QFileInfo(target.toLocalFile()) == QFileInfo(m_path);
    });

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
    root->addWidget(m_wbIniViewer, 1);
    root->addLayout(panel);
    root->addWidget(m_statusBar);

    connect(m_btnSaveIni, &QPushButton::clicked, this, &TfrmIniViewer::btnSaveIniClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_wbIniViewer, &HtmlView::statusTextChanged, m_statusBar, [this](const QString& t) {
        m_statusBar->showMessage(t);
    });
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
    m_wbIniViewer->navigate(m_path);
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
