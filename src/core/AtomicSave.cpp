#include "AtomicSave.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tavio {

namespace {
QString writeFailed()
{
    return QStringLiteral("Zápis do souboru se nezdařil.");
}

// Flushes the file's data to the disk. A file system that cannot sync (a pipe, some
// virtual file systems) is not an error; a failed write-back is.
bool syncToDisk(QSaveFile& file, QString* why)
{
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    if (fd < 0)
        return true;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS) {
        *why = qt_error_string(errno);
        return false;
    }
#else
    Q_UNUSED(file);
    Q_UNUSED(why);
#endif
    return true;
}
} // namespace

bool IsReadOnlyFile(const QString& path)
{
    const QFileInfo existing(path);
    return existing.exists() && !(existing.permissions() & QFileDevice::WriteOwner);
}

AtomicFile::AtomicFile(QString path)
    : m_path(std::move(path))
{
}

AtomicFile::~AtomicFile()
{
    cancel();
}

bool AtomicFile::fail(FileError* error, const QString& message)
{
    if (error)
        error->message = message.isEmpty() ? writeFailed() : message;
    cancel();
    return false;
}

bool AtomicFile::open(FileError* error)
{
    cancel();
    const QFileInfo target(m_path);
    if (m_path.isEmpty() || target.isDir())
        return fail(error, QStringLiteral("Cílem zápisu je složka."));
    if (IsReadOnlyFile(m_path))
        return fail(error, QStringLiteral("Soubor je jen pro čtení."));
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly))
        return fail(error, m_file->errorString());
    return true;
}

bool AtomicFile::isOpen() const
{
    return m_file && m_file->isOpen();
}

QIODevice& AtomicFile::device()
{
    Q_ASSERT(m_file);
    return *m_file;
}

bool AtomicFile::write(QByteArrayView bytes)
{
    return isOpen() && m_file->write(bytes.data(), bytes.size()) == bytes.size();
}

bool AtomicFile::commit(FileError* error)
{
    if (!isOpen())
        return fail(error, writeFailed());
    // The toolkit's commit closes the file without looking at the last flush and
    // would rename a short file over the good one: flush and sync here first.
    if (m_file->error() != QFileDevice::NoError || !m_file->flush())
        return fail(error, m_file->errorString());
    QString why;
    if (!syncToDisk(*m_file, &why))
        return fail(error, why);
    if (!m_file->commit()) {
        const QString message = m_file->errorString();
        m_file.reset();
        return fail(error, message);
    }
    m_file.reset();
    return true;
}

void AtomicFile::cancel()
{
    if (m_file) {
        if (m_file->isOpen())
            m_file->cancelWriting();
        m_file.reset(); // an uncommitted QSaveFile removes its temporary file
    }
}

bool SaveAtomically(const QString& path, const DeviceWriter& write, FileError* error)
{
    AtomicFile file(path);
    if (!file.open(error))
        return false;
    if (!write(file.device())) {
        const QString message = file.device().errorString();
        file.cancel();
        if (error)
            error->message = message.isEmpty() || message == QStringLiteral("Unknown error") ? writeFailed() : message;
        return false;
    }
    return file.commit(error);
}

bool SaveBytesAtomically(const QString& path, QByteArrayView bytes, FileError* error)
{
    return SaveAtomically(
        path, [bytes](QIODevice& device) { return device.write(bytes.data(), bytes.size()) == bytes.size(); },
        error);
}

} // namespace tavio
