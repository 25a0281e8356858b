#pragma once

#include <QRect>
#include <QString>

#include <optional>

// The program's own values in the settings store: the key layout under the
// settings root and the operations on it.
namespace tavio {

class SettingsStore;
struct TProgramVersion;

struct StartOptions
{
    bool OneInstance = true;
    bool ShowHints = true;
    bool OpenLastProject = false;
    bool firstRun = false; // no "Settings" key yet
};

struct WindowGeometry
{
    std::optional<int> left, top, width, height;
    bool maximized = false;
};

class AppSettings final
{
public:
    explicit AppSettings(SettingsStore& store);

    SettingsStore& store() const { return m_store; }

    static QString root();            // "\Software\<maker>\<title>\"
    static QString settingsKey();     // root + "Settings\"
    static QString formSettingsKey(); // root + "FormSettings\"
    static QString versionKey();      // root + "Version\"

    // The three options; a key that is missing gives the defaults and firstRun.
    StartOptions readOptions() const;
    void writeOption(const QString& name, bool value);

    // The chapter folder; empty (not found) when unset or unreadable.
    QString ReadFilesPath() const;
    void WriteFilesPath(const QString& folder);

    // Nothing when no geometry was ever saved.
    std::optional<WindowGeometry> readGeometry() const;
    // Bounds are written only for a window that is not maximized.
    void writeGeometry(bool maximized, const QRect& normalBounds);

    void WriteVersionValues(const TProgramVersion& version);

    QString readLastProject() const;
    bool hasLastProject() const;
    void writeLastProject(const QString& path);

private:
    SettingsStore& m_store;
};

} // namespace tavio
