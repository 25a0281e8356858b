#pragma once

#include <functional>

class QWidget;

namespace tavio {

class TfrmSplash;

// What the about box needs from the main window.
struct AboutBoxHooks
{
    // The main window's about-window flag: set while the box exists.
    std::function<void(bool)> setAboutWindowFlag;
    // Gives the chapter view the keyboard back when the box goes away.
    std::function<void()> activateChapterView;
};

// "O programu ...": a fresh splash window, shown modally with "- Freeware -" in its
// progress line, fading in where the platform has translucent windows; returns when the user has closed it and it is
// destroyed.
void mnuAboutClick(QWidget* mainWindow, const AboutBoxHooks& hooks);

// The two halves of the command. CreateAboutBox sets the flag and prepares the box
// (fadeIn false: shown at once, for a platform without translucent windows; a click is
// then refused and Escape closes it). RunAboutBox shows it modally and destroys it.
TfrmSplash* CreateAboutBox(QWidget* mainWindow, const AboutBoxHooks& hooks, bool fadeIn = true);
void RunAboutBox(TfrmSplash* box);

} // namespace tavio
