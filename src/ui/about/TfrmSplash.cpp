#include "TfrmSplash.h"

#include "MainTypes.h"
#include "Profile.h"
#include "widgets/ToolkitColour.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QTimer>

Q_LOGGING_CATEGORY(lcSplash, "tavio.splash")

namespace tavio {

namespace {
constexpr int ClientWidth = 449;
constexpr int ClientHeight = 298;
const QColor LightCyan(128, 255, 255);
const QColor Aqua(0, 255, 255);

void setColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}
} // namespace

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(ClientWidth, ClientHeight);
    setFocusPolicy(Qt::StrongFocus);

    // The application title comes from the profile as soon as this window exists.
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(P(ProfileId::ApplicationTitle));

    const QString bitmap = QStringLiteral(":/art/") + P(ProfileId::SplashBitmapName);
    m_picture.load(bitmap);

    m_lblSerialAuthor = label(QRect(0, 12, 451, 57), Qt::AlignCenter);
    m_lblSplashLogoName = label(QRect(4, 98, 233, 65), Qt::AlignRight | Qt::AlignVCenter);
    m_lblVersion = label(QRect(6, 263, 200, 14), Qt::AlignLeft | Qt::AlignVCenter);
    m_lblAuthor = label(QRect(444 - 240, 263, 240, 14), Qt::AlignRight | Qt::AlignVCenter);
    m_lblProgress = label(QRect(0, 279, 451, 13), Qt::AlignCenter);

    const QString logoFont = P(ProfileId::LogoFontName);
    QFont author(logoFont);
    author.setBold(true);
    author.setPixelSize(37);
    m_lblSerialAuthor->setFont(author);
    QFont logo(logoFont);
    logo.setBold(true);
    logo.setPointSize(Profile::instance().integer(ProfileId::LogoFontSize, 30));
    m_lblSplashLogoName->setFont(logo);
    setColour(m_lblSplashLogoName, Qt::black);

    QFont small = font();
    small.setPixelSize(7);
    m_lblVersion->setFont(small);
    small.setPixelSize(8);
    m_lblAuthor->setFont(small);
    setColour(m_lblVersion, LightCyan);
    setColour(m_lblAuthor, LightCyan);
    QFont progress = font();
    progress.setPixelSize(11);
    m_lblProgress->setFont(progress);

    m_lblVersion->setText(QStringLiteral("Verze: ") + VersionText());
    const QString colourName = P(ProfileId::SerialAuthorColor);
    const auto colour = ToolkitColour(colourName, palette());
    if (!colour)
        qCWarning(lcSplash) << "not a colour name, the author label stays black:" << colourName;
    setColour(m_lblSerialAuthor, colour.value_or(QColor(Qt::black)));
    const QString dash = P(ProfileId::Dash), space = P(ProfileId::Space);
    m_lblSerialAuthor->setText(dash + space + P(ProfileId::SerialAuthor) + space + dash);
    m_lblSplashLogoName->setText(P(ProfileId::LogoLine1));
    m_lblAuthor->setText(P(ProfileId::BuilderName));
    m_mayClose = false;

    m_tmrAlphaBlue = new QTimer(this);
    m_tmrAlphaBlue->setInterval(10);
    connect(m_tmrAlphaBlue, &QTimer::timeout, this, &TfrmSplash::tmrAlphaBlueTimer);

    if (parent) {
        const QRect r = parent->frameGeometry();
        move(r.center() - QPoint(ClientWidth / 2, ClientHeight / 2));
    }
}

TfrmSplash::~TfrmSplash()
{
    if (m_onDestroy)
        m_onDestroy();
}

QLabel* TfrmSplash::label(const QRect& geometry, Qt::Alignment alignment)
{
    auto* l = new QLabel(this);
    l->setGeometry(geometry);
    l->setAlignment(alignment);
    l->setTextFormat(Qt::PlainText);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->installEventFilter(this);
    return l;
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), QColor(0x1d, 0x4e, 0x6b));
    else
        painter.drawPixmap(rect(), m_picture);
}

void TfrmSplash::setProgress(const QString& text)
{
    m_lblProgress->setText(text);
}

QString TfrmSplash::progress() const
{
    return m_lblProgress->text();
}

void TfrmSplash::repaintProgress()
{
    m_lblProgress->repaint();
}

void TfrmSplash::prepareAboutBox(bool fadeIn)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    if (fadeIn) {
        setAlpha(0);
        m_handlersAttached = false;
        m_tmrAlphaBlue->start();
    } else {
        setAlpha(255);
    }
    setProgress(P(ProfileId::FreewareLabel));
}

void TfrmSplash::execModal()
{
    QEventLoop loop;
    connect(this, &TfrmSplash::closed, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    // Escape reaches the form only when it holds the keyboard.
    setFocus(Qt::ActiveWindowFocusReason);
    loop.exec(QEventLoop::DialogExec);
}

bool TfrmSplash::translucentWindows()
{
    // Platforms that draw into memory or straight onto a frame buffer have no window
    // opacity; the others do.
    const QString platform = QGuiApplication::platformName();
    for (const char* name : {"offscreen", "minimal", "vnc", "linuxfb", "eglfs"}) {
        if (platform.startsWith(QLatin1String(name)))
            return false;
    }
    return true;
}

void TfrmSplash::setAlpha(int alpha)
{
    m_alpha = alpha;
    if (translucentWindows())
        setWindowOpacity(alpha / 255.0);
}

bool TfrmSplash::fading() const
{
    return m_tmrAlphaBlue->isActive();
}

void TfrmSplash::tmrAlphaBlueTimer()
{
    m_mayClose = false;
    setAlpha(std::min(255, m_alpha + 5));
    if (m_alpha >= 255) {
        m_handlersAttached = true;
        m_tmrAlphaBlue->stop();
        m_mayClose = true;
    }
}

void TfrmSplash::imgSplashClick()
{
    close();
}

void TfrmSplash::mouseReleaseEvent(QMouseEvent*)
{
    if (m_handlersAttached)
        imgSplashClick();
}

void TfrmSplash::closeEvent(QCloseEvent* event)
{
    if (m_mayClose) {
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

void TfrmSplash::keyReleaseEvent(QKeyEvent* event)
{
    if (m_handlersAttached && event->key() == Qt::Key_Escape) {
        m_mayClose = (progress() == P(ProfileId::FreewareLabel));
        close();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

bool TfrmSplash::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (m_handlersAttached)
            imgSplashClick();
        return true;
    case QEvent::Enter:
        if (watched == m_lblVersion || watched == m_lblAuthor) {
            setColour(static_cast<QLabel*>(watched), Qt::white);
        } else if (watched == m_lblProgress && progress() == P(ProfileId::FreewareLabel)) {
            setColour(m_lblProgress, Qt::red);
            QFont f = m_lblProgress->font();
            f.setBold(true);
            m_lblProgress->setFont(f);
        }
        break;
    case QEvent::Leave:
        if (watched == m_lblVersion || watched == m_lblAuthor) {
            setColour(static_cast<QLabel*>(watched), Aqua);
        } else if (watched == m_lblProgress && progress() == P(ProfileId::FreewareLabel)) {
            setColour(m_lblProgress, palette().color(QPalette::WindowText));
            QFont f = m_lblProgress->font();
            f.setBold(false);
            m_lblProgress->setFont(f);
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavio
