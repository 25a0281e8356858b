#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QSaveFile;

// Replacing a file in one step. The new content goes to a temporary file beside the
// target, which takes the target's name only when every byte of it reached the disk;
// until then, and whenever anything fails, the previous file stays as it was.
namespace tavio {

struct FileError
{
    QString message;
};

// A file whose owner lacks the write permission stands for a read-only file: it is
// never replaced, even where the folder would allow the rename.
bool IsReadOnlyFile(const QString& path);

class AtomicFile final
{
public:
    explicit AtomicFile(QString path);
    // An uncommitted file goes away with its temporary file; the target is untouched.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open(FileError* error = nullptr);
    bool isOpen() const;
    const QString& path() const { return m_path; }
    // The temporary file; valid between open and commit or cancel.
    QIODevice& device();
    // Writes all of bytes or fails.
    bool write(QByteArrayView bytes);
    // Puts the file in place when everything written reached the disk. Checks what
    // the toolkit's own commit does not: the flush of the last buffered bytes and
    // the sync, each of which can fail on a full disk or at a file-size limit.
    bool commit(FileError* error = nullptr);
    void cancel();

private:
    bool fail(FileError* error, const QString& message);

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
};

// Writes one file through AtomicFile: write puts the whole content into the device
// and returns false when it could not.
using DeviceWriter = std::function<bool(QIODevice&)>;
bool SaveAtomically(const QString& path, const DeviceWriter& write, FileError* error = nullptr);
bool SaveBytesAtomically(const QString& path, QByteArrayView bytes, FileError* error = nullptr);

} // namespace tavio
