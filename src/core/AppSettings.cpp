#include "AppSettings.h"

#include "MainTypes.h"
#include "Profile.h"
#include "SettingsStore.h"

namespace tavio {

AppSettings::AppSettings(SettingsStore& store)
    : m_store(store)
{
}

QString AppSettings::root()
{
    return P(ProfileId::RegistryRoot);
}

QString AppSettings::settingsKey()
{
    return root() + QStringLiteral("Settings\\");
}

QString AppSettings::formSettingsKey()
{
    return root() + QStringLiteral("FormSettings\\");
}

QString AppSettings::versionKey()
{
    return root() + QStringLiteral("Version\\");
}

StartOptions AppSettings::readOptions() const
{
    StartOptions o;
    const QString key = settingsKey();
    if (!m_store.keyExists(key)) {
        o.firstRun = true;
        return o;
    }
    o.OneInstance = m_store.readBool(key, QStringLiteral("OneInstance")).value_or(o.OneInstance);
    o.ShowHints = m_store.readBool(key, QStringLiteral("ShowHints")).value_or(o.ShowHints);
    o.OpenLastProject = m_store.readBool(key, QStringLiteral("OpenLastProject")).value_or(o.OpenLastProject);
    return o;
}

void AppSettings::writeOption(const QString& name, bool value)
{
    m_store.writeBool(settingsKey(), name, value);
}

QString AppSettings::ReadFilesPath() const
{
    if (!m_store.keyExists(root()))
        return {};
    return m_store.readString(root(), QStringLiteral("FilesPath")).value_or(QString());
}

void AppSettings::WriteFilesPath(const QString& folder)
{
    m_store.writeString(root(), QStringLiteral("FilesPath"), folder);
}

std::optional<WindowGeometry> AppSettings::readGeometry() const
{
    const QString key = formSettingsKey();
    if (!m_store.keyExists(key))
        return std::nullopt;
    WindowGeometry g;
    g.left = m_store.readInteger(key, QStringLiteral("Left"));
    g.top = m_store.readInteger(key, QStringLiteral("Top"));
    g.width = m_store.readInteger(key, QStringLiteral("Width"));
    g.height = m_store.readInteger(key, QStringLiteral("Height"));
    g.maximized = m_store.readBool(key, QStringLiteral("Maximized")).value_or(false);
    return g;
}

void AppSettings::writeGeometry(bool maximized, const QRect& normalBounds)
{
    const QString key = formSettingsKey();
    m_store.writeBool(key, QStringLiteral("Maximized"), maximized);
    if (maximized)
        return;
    m_store.writeInteger(key, QStringLiteral("Left"), normalBounds.left());
    m_store.writeInteger(key, QStringLiteral("Top"), normalBounds.top());
    m_store.writeInteger(key, QStringLiteral("Width"), normalBounds.width());
    m_store.writeInteger(key, QStringLiteral("Height"), normalBounds.height());
}

void AppSettings::WriteVersionValues(const TProgramVersion& v)
{
    const QString key = versionKey();
    m_store.writeInteger(key, QStringLiteral("Major"), qint32(v.Major));
    m_store.writeInteger(key, QStringLiteral("Minor"), qint32(v.Minor));
    m_store.writeInteger(key, QStringLiteral("Release"), qint32(v.Release));
    m_store.writeInteger(key, QStringLiteral("Build"), qint32(v.Build));
}

bool AppSettings::hasLastProject() const
{
    return m_store.keyExists(root()) && m_store.valueExists(root(), QStringLiteral("LastProject"));
}

QString AppSettings::readLastProject() const
{
    return m_store.readString(root(), QStringLiteral("LastProject")).value_or(QString());
}

void AppSettings::writeLastProject(const QString& path)
{
    m_store.writeString(root(), QStringLiteral("LastProject"), path);
}

} // namespace tavio
