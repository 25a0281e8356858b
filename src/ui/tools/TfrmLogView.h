#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace tavio {

// Shows a clean-files log beside the window that wrote it; it belongs to that window
// and goes with it.
class TfrmLogView final : public QWidget
{
    Q_OBJECT
public:
    TfrmLogView(const QString& logFilePath, QWidget* owner);

    QString logFilePath() const { return m_path; }
    QPlainTextEdit* reLogFile() const { return m_reLogFile; }

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_path;
    QPlainTextEdit* m_reLogFile;
};

} // namespace tavio
