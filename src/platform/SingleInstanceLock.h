#pragma once

#include <QString>

// The marker that tells copies of the program of the same user about each other: a
// lock file in the user's runtime folder. Each running copy holds a shared lock on
// it for its whole life; the kernel drops the lock when the process ends, crash
// included. Another copy is running exactly when an exclusive lock cannot be had.
namespace tavio {

class SingleInstanceLock final
{
public:
    // name: the marker's name; folder: where the lock file lives (empty: the user's
    // runtime folder).
    explicit SingleInstanceLock(const QString& name, const QString& folder = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Whether some process holds the marker now (a single non-blocking test).
    bool existsElsewhere() const;
    // Holds the marker until release() or the end of the process.
    bool create();
    void release();
    bool held() const { return m_fd >= 0; }
    QString filePath() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace tavio
