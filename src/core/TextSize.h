#pragma once

class QString;

// The text size of the chapter view in five steps (0 smallest to 4 largest). The
// view reads its size from a setting that other programs share, so the program
// saves that setting, puts its own chosen size into it only while a chapter loads,
// and puts the saved value back after each load and each change.
namespace tavio {

class SettingsStore;

class TextSize final
{
public:
    explicit TextSize(SettingsStore& store);

    static constexpr int DefaultStep = 2;

    // The view setting (false) or the program's saved copy of it (true).
    int ReadViewTextSize(bool fromSavedCopy) const;
    void SaveViewTextSize(int step);
    void SetViewTextSize(bool useDefault, int step);

    // The step the user chose in the program; the default when none was stored.
    int readChosenSize() const;
    void writeChosenSize(int step);

    // At start: make sure a saved copy exists, then (later) save the view setting as
    // it was before this run.
    void startupPrepare();
    void startupSaveViewSetting();
    // After every loaded document: the view setting goes back to the saved value.
    void restoreViewSetting();

    static QString viewKey();
    static QString savedKey();
    static QString valueName();

private:
    SettingsStore& m_store;
};

} // namespace tavio
