#include "FrameState.h"

#include "AtomicSave.h"

#include <QDir>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcReading, "tavio.reading")

namespace tavio {

FrameState::FrameState(QObject* parent)
    : QObject(parent)
    , m_saveTimer(new QTimer(this))
{
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(2000);
    connect(m_saveTimer, &QTimer::timeout, this, &FrameState::saveReading);
}

FrameState::~FrameState() = default;

void FrameState::setCurrentChapterPath(const QString& path)
{
    if (path == m_currentChapterPath)
        return;
    m_currentChapterPath = path;
    emit currentChapterChanged(path);
}

void FrameState::setChapterFolder(const QString& folder)
{
    const QString f = QDir::fromNativeSeparators(folder);
    if (f == m_chapterFolder)
        return;
    m_chapterFolder = f;
    emit chapterFolderChanged(f);
}

void FrameState::setShowHints(bool on)
{
    if (on == m_showHints)
        return;
    m_showHints = on;
    emit showHintsChanged(on);
}

ReadingState::LoadStatus FrameState::loadReading(const QString& path)
{
    m_readingPath = path;
    ReadingState::Loaded loaded = ReadingState::load(path);
    if (loaded.status == ReadingState::LoadStatus::Damaged)
        qCWarning(lcReading) << "damaged reading state kept aside as" << path + QStringLiteral(".damaged");
    m_reading = std::move(loaded.state);
    emit historyChanged();
    emit readMarksChanged();
    emit themeChanged(m_reading.theme());
    return loaded.status;
}

bool FrameState::saveReading()
{
    m_saveTimer->stop();
    if (m_readingPath.isEmpty())
        return false;
    FileError error;
    if (m_reading.save(m_readingPath, &error))
        return true;
    qCWarning(lcReading) << "reading state not saved:" << error.message;
    return false;
}

void FrameState::changed()
{
    if (!m_readingPath.isEmpty())
        m_saveTimer->start();
}

void FrameState::visit(const HistoryEntry& entry)
{
    m_reading.visit(entry);
    changed();
    emit historyChanged();
}

std::optional<HistoryEntry> FrameState::goBack()
{
    auto target = m_reading.goBack();
    if (target) {
        changed();
        emit historyChanged();
    }
    return target;
}

std::optional<HistoryEntry> FrameState::goForward()
{
    auto target = m_reading.goForward();
    if (target) {
        changed();
        emit historyChanged();
    }
    return target;
}

QStringList FrameState::recentChapterPaths() const
{
    QStringList paths;
    paths.reserve(m_reading.recentChapters().size());
    for (const QString& name : m_reading.recentChapters())
        paths.append(m_chapterFolder + name);
    return paths;
}

void FrameState::setPosition(const QString& fileName, double share)
{
    m_reading.setPosition(fileName, share);
    changed();
}

void FrameState::setRead(const QString& fileName, bool read)
{
    if (m_reading.isRead(fileName) == read)
        return;
    m_reading.setRead(fileName, read);
    changed();
    emit readMarksChanged();
}

void FrameState::setNewChapters(const QStringList& fileNames)
{
    m_reading.setNewChapters(fileNames);
    changed();
    emit readMarksChanged();
}

void FrameState::keepOnlyChapters(const QStringList& fileNames)
{
    if (!m_reading.keepOnly(fileNames))
        return;
    changed();
    emit historyChanged();
    emit readMarksChanged();
}

void FrameState::setTheme(ReadingTheme theme)
{
    if (theme == m_reading.theme())
        return;
    m_reading.setTheme(theme);
    changed();
    emit themeChanged(theme);
}

} // namespace tavio
