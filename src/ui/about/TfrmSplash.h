#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace tavio {

// The picture window with the series' logo: the start-up progress window and, with
// "- Freeware -" in its progress line, the about box.
class TfrmSplash final : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

    void setProgress(const QString& text);
    QString progress() const;
    void repaintProgress();
    bool mayClose() const { return m_mayClose; }
    // The about box: an ordinary window that fades in; clicks and Escape wait for it.
    void prepareAboutBox(bool fadeIn);
    bool fading() const;
    // The box's opacity, 0 to 255.
    int alpha() const { return m_alpha; }
    // Whether this platform shows translucent windows, so that the box can fade in.
    static bool translucentWindows();
    // Runs when the window goes away (gives the chapter view its focus back).
    void setOnDestroy(std::function<void()> f) { m_onDestroy = std::move(f); }
    // Shows the window modally and returns once it has closed (or gone away).
    void execModal();

    QLabel* progressLabel() const { return m_lblProgress; }
    QLabel* versionLabel() const { return m_lblVersion; }
    QLabel* authorLabel() const { return m_lblAuthor; }
    QLabel* serialAuthorLabel() const { return m_lblSerialAuthor; }

signals:
    // A close request was granted.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void imgSplashClick();
    void tmrAlphaBlueTimer();
    QLabel* label(const QRect& geometry, Qt::Alignment alignment);
    void setAlpha(int alpha);

    QPixmap m_picture;
    QLabel* m_lblSerialAuthor;
    QLabel* m_lblSplashLogoName;
    QLabel* m_lblVersion;
    QLabel* m_lblAuthor;
    QLabel* m_lblProgress;
    QTimer* m_tmrAlphaBlue;
    bool m_mayClose = false;
    bool m_handlersAttached = true;
    int m_alpha = 255;
    std::function<void()> m_onDestroy;
};

} // namespace tavio
