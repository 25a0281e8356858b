#include "SettingsStore.h"

#include "Profile.h"
#include "TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

Q_LOGGING_CATEGORY(lcSettings, "tavio.settings")

namespace tavio {

namespace {
constexpr qint64 MaxSettingsBytes = 64 * 1024 * 1024;
}

SettingsStore::SettingsStore(const QString& iniFile)
    : m_path(iniFile)
{
    const QString folder = QFileInfo(iniFile).absolutePath();
    QDir().mkpath(folder);
    m_workDir = std::make_unique<QTemporaryDir>();
    if (!m_workDir->isValid())
        m_workDir = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/.tavio-XXXXXX"));
    m_onDisk = ReadFileBytes(iniFile, MaxSettingsBytes).value_or(QByteArray());
    loadWorkCopy(m_onDisk);
    if (m_settings->status() == QSettings::FormatError) {
        // Keep the damaged file before the next write replaces it with what could be read.
        m_damagedCopy = iniFile + QStringLiteral(".poskozeny-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QFile::copy(iniFile, m_damagedCopy);
        qCWarning(lcSettings) << "settings file" << iniFile << "is damaged; kept a copy as" << m_damagedCopy;
    }
}

QString SettingsStore::nextWorkFile()
{
    // A new name each time: the toolkit caches what it parsed per file name.
    return m_workDir->filePath(QStringLiteral("work-%1.ini").arg(++m_workCount));
}

void SettingsStore::loadWorkCopy(const QByteArray& bytes)
{
    const QString work = nextWorkFile();
    QFile file(work);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
        file.close();
    }
    const QString previous = m_settings ? m_settings->fileName() : QString();
    m_settings = std::make_unique<QSettings>(work, QSettings::IniFormat);
    if (!previous.isEmpty())
        QFile::remove(previous);
}

// True when bytes, parsed afresh, hold exactly the values of the working copy: a
// write that was cut short loses or shortens a value and fails this.
bool SettingsStore::workCopyReadsBack(const QByteArray& bytes)
{
    const QString probe = nextWorkFile();
    {
        QFile file(probe);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
            return false;
    }
    bool same;
    {
        QSettings check(probe, QSettings::IniFormat);
        const QStringList keys = m_settings->allKeys();
        same = check.status() == QSettings::NoError && check.allKeys().size() == keys.size();
        for (qsizetype i = 0; same && i < keys.size(); ++i) {
            const QVariant want = m_settings->value(keys[i]);
            const QVariant got = check.value(keys[i]);
            same = want.metaType().id() == QMetaType::QByteArray || got.metaType().id() == QMetaType::QByteArray
                ? want.toByteArray() == got.toByteArray() && want.metaType() == got.metaType()
                : want.toString() == got.toString();
        }
    }
    QFile::remove(probe);
    return same;
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + P(ProfileId::MakerName) + QLatin1Char('/') + P(ProfileId::ApplicationTitle) + QStringLiteral(".ini");
}

QString SettingsStore::fileName() const
{
    return m_path;
}

QString SettingsStore::group(const QString& key)
{
    QString g = key;
    g.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = g.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('/'));
}

QString SettingsStore::valuePath(const QString& key, const QString& name)
{
    const QString g = group(key);
    return g.isEmpty() ? name : g + QLatin1Char('/') + name;
}

bool SettingsStore::keyExists(const QString& key) const
{
    const QString g = group(key);
    if (g.isEmpty())
        return true;
    m_settings->beginGroup(g);
    const bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
    m_settings->endGroup();
    return exists;
}

bool SettingsStore::valueExists(const QString& key, const QString& name) const
{
    return m_settings->contains(valuePath(key, name));
}

QStringList SettingsStore::subKeys(const QString& key) const
{
    m_settings->beginGroup(group(key));
    QStringList keys = m_settings->childGroups();
    m_settings->endGroup();
    return keys;
}

QStringList SettingsStore::valueNames(const QString& key) const
{
    m_settings->beginGroup(group(key));
    QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return names;
}

std::optional<QString> SettingsStore::readString(const QString& key, const QString& name) const
{
    const QVariant v = m_settings->value(valuePath(key, name));
    if (!v.isValid() || v.metaType().id() == QMetaType::QByteArray)
        return std::nullopt;
    return v.toString();
}

std::optional<qint32> SettingsStore::readInteger(const QString& key, const QString& name) const
{
    const QVariant v = m_settings->value(valuePath(key, name));
    if (!v.isValid() || v.metaType().id() == QMetaType::QByteArray)
        return std::nullopt;
    bool ok = false;
    const qint64 n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > UINT32_MAX)
        return std::nullopt;
    return qint32(quint32(n));
}

std::optional<bool> SettingsStore::readBool(const QString& key, const QString& name) const
{
    const auto n = readInteger(key, name);
    if (!n)
        return std::nullopt;
    return *n != 0;
}

std::optional<QByteArray> SettingsStore::readBinary(const QString& key, const QString& name) const
{
    const QVariant v = m_settings->value(valuePath(key, name));
    if (!v.isValid() || v.metaType().id() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

bool SettingsStore::change(const QString& path, std::optional<QVariant> value)
{
    if (value)
        m_settings->setValue(path, *value);
    else
        m_settings->remove(path);
    m_unsaved.append({path, std::move(value)});
    return commit();
}

bool SettingsStore::commit()
{
    if (m_batch > 0 || m_unsaved.isEmpty())
        return true;
    // Another copy of the program may have written the file meanwhile: its values
    // stay, with this store's changes on top, as two writers of one store expect.
    const QByteArray current = ReadFileBytes(m_path, MaxSettingsBytes).value_or(QByteArray());
    if (current != m_onDisk) {
        loadWorkCopy(current);
        for (const Change& c : std::as_const(m_unsaved)) {
            if (c.value)
                m_settings->setValue(c.path, *c.value);
            else
                m_settings->remove(c.path);
        }
        m_onDisk = current;
    }
    m_settings->sync();
    const auto bytes = m_settings->status() == QSettings::NoError
        ? ReadFileBytes(m_settings->fileName(), MaxSettingsBytes)
        : std::nullopt;
    FileError failure;
    if (!bytes || !workCopyReadsBack(*bytes)) {
        qCWarning(lcSettings) << "cannot prepare the settings for" << m_path;
        return false;
    }
    if (!SaveBytesAtomically(m_path, *bytes, &failure)) {
        qCWarning(lcSettings) << "cannot write the settings file" << m_path << failure.message;
        return false;
    }
    m_onDisk = *bytes;
    m_unsaved.clear();
    return true;
}

bool SettingsStore::endBatch()
{
    if (m_batch > 0)
        --m_batch;
    return commit();
}

bool SettingsStore::writeString(const QString& key, const QString& name, const QString& value)
{
    return change(valuePath(key, name), QVariant(value));
}

bool SettingsStore::writeInteger(const QString& key, const QString& name, qint32 value)
{
    return change(valuePath(key, name), QVariant(value));
}

bool SettingsStore::writeBool(const QString& key, const QString& name, bool value)
{
    return writeInteger(key, name, value ? 1 : 0);
}

bool SettingsStore::writeBinary(const QString& key, const QString& name, const QByteArray& value)
{
    return change(valuePath(key, name), QVariant(value));
}

bool SettingsStore::deleteValue(const QString& key, const QString& name)
{
    return change(valuePath(key, name), std::nullopt);
}

bool SettingsStore::deleteKey(const QString& key)
{
    const QString g = group(key);
    if (g.isEmpty())
        return false;
    return change(g, std::nullopt);
}

} // namespace tavio
