#include "TfrmLogView.h"

#include "Cp1250.h"
#include "TextFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcLogView, "tavio.delprint")

namespace tavio {

namespace {
constexpr int DesignWidth = 550;
constexpr int DesignHeight = 350;
// A log names a few lines per chapter; anything larger is not one of ours.
constexpr qint64 MaxLogBytes = 16 * 1024 * 1024;
} // namespace

TfrmLogView::TfrmLogView(const QString& logFilePath, QWidget* owner)
    : QWidget(owner,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                  | Qt::WindowCloseButtonHint)
    , m_path(logFilePath)
{
    setObjectName(QStringLiteral("frmLogView"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(DesignWidth, DesignHeight);
    resize(DesignWidth, DesignHeight);
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(DesignWidth / 2, DesignHeight / 2));

    m_reLogFile = new QPlainTextEdit(this);
    m_reLogFile->setObjectName(QStringLiteral("reLogFile"));
    m_reLogFile->setReadOnly(true);
    m_reLogFile->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_reLogFile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines are cut at the right edge rather than scrolled to.
    m_reLogFile->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_reLogFile);

    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
}

void TfrmLogView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmLogView::FormShow()
{
    setWindowTitle(QFileInfo(m_path).fileName());
    FileError error;
    const auto bytes = ReadFileBytes(m_path, MaxLogBytes, &error);
    if (!bytes)
        qCWarning(lcLogView) << "cannot read the log" << m_path << error.message;
    m_reLogFile->setPlainText(bytes ? cp1250::toUnicode(*bytes) : QString());
}

} // namespace tavio
