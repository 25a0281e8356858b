#pragma once

#include "Description.h"
#include "ReadingState.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QPushButton;
class QTextBrowser;
class QTextEdit;

namespace tavio {

// "Popis a historie verzí programu": the description of the program, a template filled
// from the profile, and on request the version history below it.
class TfrmHelp final : public QDialog
{
    Q_OBJECT
public:
    // showHints: the main window's hint option; theme: the reading theme, which the
    // description and the history are shown in.
    explicit TfrmHelp(bool showHints, QWidget* parent = nullptr, ReadingTheme theme = ReadingTheme::Light);
    ~TfrmHelp() override;

    // The menu command: the window over mainWindow, modal, destroyed when closed;
    // whenDestroyed gives the chapter view the keyboard back.
    static void mnuVersionHistoryClick(QWidget* mainWindow, bool showHints,
                                       const std::function<void()>& whenDestroyed = {},
                                       ReadingTheme theme = ReadingTheme::Light);

    // The description as designed: 29 lines with "%" placeholders.
    static QStringList DescriptionTemplate();
    // The description this profile gives: the template less the lines that would show
    // nothing but an entry the profile leaves empty, with the placeholders filled.
    static QString DescriptionText(const ProfileLookup& value);
    // The version history as shipped, newest first, lines separated by '\n'.
    static QString ShippedHistory();

    void btnHistoryClick();
    // Opens a link of the description in the user's own program.
    void reHelpURLClick(const QString& link);
    // Runs when the window goes away.
    void setOnDestroy(std::function<void()> f) { m_onDestroy = std::move(f); }

    QWidget* pnlHelp() const { return m_pnlHelp; }
    QTextBrowser* reHelp() const { return m_reHelp; }
    QPushButton* btnHistory() const { return m_btnHistory; }
    QWidget* pnlHistory() const { return m_pnlHistory; }
    QTextEdit* reHistory() const { return m_reHistory; }
    // The addresses the description shows as links, in their order.
    QStringList links() const { return m_links; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void showLinks();
    int descriptionWidth() const;
    void markHistory();
    void watch(QWidget* w);

    bool m_showHints;
    ReadingTheme m_theme;
    int m_width;
    int m_collapsedHeight;
    int m_expandedHeight;
    int m_markLength;
    QStringList m_links;
    std::function<void()> m_onDestroy;

    QWidget* m_pnlHelp = nullptr;
    QTextBrowser* m_reHelp = nullptr;
    QPushButton* m_btnHistory = nullptr;
    QWidget* m_pnlHistory = nullptr;
    QTextEdit* m_reHistory = nullptr;
};

} // namespace tavio
