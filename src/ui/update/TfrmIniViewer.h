#pragma once

#include "update/SaveFileDialog.h"

#include <QDialog>

class QPushButton;
class QStatusBar;

namespace tavio {

class HtmlView;
class SettingsStore;

// Shows a file the update could not read (a faulty update.ini) as the HTML view
// shows it, and saves a copy of it. Created once at start and only shown and hidden.
class TfrmIniViewer final : public QDialog
{
    Q_OBJECT
public:
    // store: where the view reads its text size (the chapter view's setting); may be null.
    explicit TfrmIniViewer(QWidget* mainWindow = nullptr, SettingsStore* store = nullptr);
    ~TfrmIniViewer() override;

    // Shows the file modally; the caption is its full path.
    void showFile(const QString& path);
    // The same without waiting (tests): loads the file and shows the window.
    void openFile(const QString& path);
    QString filePath() const { return m_path; }

    void btnSaveIniClick();

    // Made when first needed: the window lives hidden from the start, and its web
    // engine need not start before a file is shown.
    HtmlView* wbIniViewer() const;
    QPushButton* btnSaveIni() const { return m_btnSaveIni; }
    QPushButton* btnClose() const { return m_btnClose; }
    QStatusBar* statusBar() const { return m_statusBar; }
    // The default extension of the save dialog: the shown file's after the first save.
    QString defaultSuffix() const { return m_defaultSuffix; }

    void setSaveDialog(SaveFileDialog dialog) { m_saveDialog = std::move(dialog); }

private:
    void load(const QString& path);

    QString m_path;
    QString m_defaultSuffix = QStringLiteral("log");
    SaveFileDialog m_saveDialog;
    SettingsStore* m_store = nullptr;
    mutable HtmlView* m_wbIniViewer = nullptr;
    QObject* m_onlyShownFile = nullptr; // the page's request filter
    QPushButton* m_btnSaveIni = nullptr;
    QPushButton* m_btnClose = nullptr;
    QStatusBar* m_statusBar = nullptr;
};

} // namespace tavio
