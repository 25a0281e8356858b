#include "SettingsStore.h"

#include "Profile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcSettings, "tavio.settings")

namespace tavio {

SettingsStore::SettingsStore(const QString& iniFile)
{
    QDir().mkpath(QFileInfo(iniFile).absolutePath());
    m_settings = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    if (m_settings->status() == QSettings::FormatError) {
        // Keep the damaged file before the next write replaces it with what could be read.
        m_damagedCopy = iniFile + QStringLiteral(".poskozeny-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QFile::copy(iniFile, m_damagedCopy);
        qCWarning(lcSettings) << "settings file" << iniFile << "is damaged; kept a copy as" << m_damagedCopy;
    }
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + P(ProfileId::MakerName) + QLatin1Char('/') + P(ProfileId::ApplicationTitle) + QStringLiteral(".ini");
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
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

bool SettingsStore::commit()
{
    if (m_batch > 0)
        return true;
    m_settings->sync();
    if (m_settings->status() == QSettings::AccessError) {
        qCWarning(lcSettings) << "cannot write the settings file" << m_settings->fileName();
        return false;
    }
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
    m_settings->setValue(valuePath(key, name), value);
    return commit();
}

bool SettingsStore::writeInteger(const QString& key, const QString& name, qint32 value)
{
    m_settings->setValue(valuePath(key, name), value);
    return commit();
}

bool SettingsStore::writeBool(const QString& key, const QString& name, bool value)
{
    return writeInteger(key, name, value ? 1 : 0);
}

bool SettingsStore::writeBinary(const QString& key, const QString& name, const QByteArray& value)
{
    m_settings->setValue(valuePath(key, name), value);
    return commit();
}

bool SettingsStore::deleteValue(const QString& key, const QString& name)
{
    m_settings->remove(valuePath(key, name));
    return commit();
}

bool SettingsStore::deleteKey(const QString& key)
{
    const QString g = group(key);
    if (g.isEmpty())
        return false;
    m_settings->remove(g);
    return commit();
}

} // namespace tavio
