#include "AboutBox.h"

#include "TfrmSplash.h"

#include <QPointer>

namespace tavio {

TfrmSplash* CreateAboutBox(QWidget* mainWindow, const AboutBoxHooks& hooks, bool fadeIn)
{
    if (hooks.setAboutWindowFlag)
        hooks.setAboutWindowFlag(true);
    auto* box = new TfrmSplash(mainWindow);
    box->setOnDestroy([hooks] {
        if (hooks.activateChapterView)
            hooks.activateChapterView();
        if (hooks.setAboutWindowFlag)
            hooks.setAboutWindowFlag(false);
    });
    box->prepareAboutBox(fadeIn);
    return box;
}

void RunAboutBox(TfrmSplash* box)
{
    QPointer<TfrmSplash> guard(box);
    box->execModal();
    delete guard.data();
}

void mnuAboutClick(QWidget* mainWindow, const AboutBoxHooks& hooks)
{
    RunAboutBox(CreateAboutBox(mainWindow, hooks, TfrmSplash::translucentWindows()));
}

} // namespace tavio
