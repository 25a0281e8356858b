#pragma once

#include <QByteArray>
#include <QString>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;
class QTemporaryDir;

// The per-user key-value store that keeps the program's options under key paths
// such as "\Software\Maker\Title\Settings\". A key exists when it holds a value or
// a subkey. Booleans are stored as the integers 0 and 1, integers are 32-bit,
// binary values are byte arrays. Every write reaches the file at once.
namespace tavio {

class SettingsStore final
{
public:
    explicit SettingsStore(const QString& iniFile);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The store of this user: one file in the user's configuration folder.
    static QString defaultFile();
    QString fileName() const;
    // Set when the file was damaged at start; the damaged file was kept under this name.
    QString damagedCopy() const { return m_damagedCopy; }

    bool keyExists(const QString& key) const;
    bool valueExists(const QString& key, const QString& name) const;
    QStringList subKeys(const QString& key) const;
    QStringList valueNames(const QString& key) const;

    // A missing value gives nothing; a value of another type gives nothing too.
    std::optional<QString> readString(const QString& key, const QString& name) const;
    std::optional<qint32> readInteger(const QString& key, const QString& name) const;
    std::optional<bool> readBool(const QString& key, const QString& name) const;
    std::optional<QByteArray> readBinary(const QString& key, const QString& name) const;

    // False when the store could not be written.
    bool writeString(const QString& key, const QString& name, const QString& value);
    bool writeInteger(const QString& key, const QString& name, qint32 value);
    bool writeBool(const QString& key, const QString& name, bool value);
    bool writeBinary(const QString& key, const QString& name, const QByteArray& value);
    bool deleteValue(const QString& key, const QString& name);
    // Deletes the key with all its values and subkeys.
    bool deleteKey(const QString& key);

    // Writes between these two reach the file once, at the end, instead of one file
    // write each. endBatch tells whether that write succeeded. Batches nest.
    void beginBatch() { ++m_batch; }
    bool endBatch();

private:
    struct Change
    {
        QString path;
        std::optional<QVariant> value; // nothing: remove the value or the key
    };

    static QString group(const QString& key);
    static QString valuePath(const QString& key, const QString& name);
    bool change(const QString& path, std::optional<QVariant> value);
    bool commit();
    QString nextWorkFile();
    void loadWorkCopy(const QByteArray& bytes);
    bool workCopyReadsBack(const QByteArray& bytes);

    // The values live in a working copy in a private folder; the file itself is only
    // ever replaced whole, with what the working copy proved to hold.
    QString m_path;
    std::unique_ptr<QTemporaryDir> m_workDir;
    int m_workCount = 0;
    std::unique_ptr<QSettings> m_settings;
    QByteArray m_onDisk;            // the file as this store last read or wrote it
    QList<Change> m_unsaved;        // changes that have not reached the file yet
    QString m_damagedCopy;
    int m_batch = 0;
};

} // namespace tavio
