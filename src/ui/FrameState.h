#pragma once

#include "ReadingState.h"

#include <QDateTime>
#include <QObject>

#include <functional>

class QTimer;

namespace tavio {

// The state the main window's pages share: the chapter shown, the chapter folder, the
// guard flags of the find, bookmark and about windows, the hint option, the clock and
// the reading state. Pages get it by reference and listen to its change signals instead
// of reaching back into the main window.
class FrameState final : public QObject
{
    Q_OBJECT
public:
    explicit FrameState(QObject* parent = nullptr);
    ~FrameState() override;

    QString currentChapterPath() const { return m_currentChapterPath; }
    void setCurrentChapterPath(const QString& path);

    // The chapter folder as the catalogue page shows it, with '/' separators.
    QString chapterFolder() const { return m_chapterFolder; }
    void setChapterFolder(const QString& folder);

    // Set by a window whose closing Enter or click must not act on the page below it.
    // Pages that still keep a pointer to a flag get the address of these.
    bool findFlag = false;
    bool bookmarkFlag = false;
    bool aboutWindowFlag = false;

    bool showHints() const { return m_showHints; }
    void setShowHints(bool on);

    // The time the status bar shows; tests set their own clock.
    QDateTime now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The reading state: read with reading(), changed through the operations below so
    // that the pages hear of it and the file gets written.
    const ReadingState& reading() const { return m_reading; }
    ReadingState::LoadStatus loadReading(const QString& path);
    bool saveReading();

    void visit(const HistoryEntry& entry);
    std::optional<HistoryEntry> goBack();
    std::optional<HistoryEntry> goForward();
    // The paths of the chapters visited, newest first.
    QStringList recentChapterPaths() const;

    void setPosition(const QString& fileName, double share);
    void setRead(const QString& fileName, bool read);
    void setNewChapters(const QStringList& fileNames);
    void keepOnlyChapters(const QStringList& fileNames);
    ReadingTheme theme() const { return m_reading.theme(); }
    void setTheme(ReadingTheme theme);

signals:
    void currentChapterChanged(const QString& path);
    void chapterFolderChanged(const QString& folder);
    void showHintsChanged(bool on);
    void historyChanged();
    void readMarksChanged();
    void themeChanged(tavio::ReadingTheme theme);

private:
    void changed();

    QString m_currentChapterPath;
    QString m_chapterFolder;
    bool m_showHints = true;
    std::function<QDateTime()> m_clock;
    ReadingState m_reading;
    QString m_readingPath;
    // Changes are written a moment later, in one go.
    QTimer* m_saveTimer;
};

} // namespace tavio
