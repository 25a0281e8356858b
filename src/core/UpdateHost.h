#pragma once

#include "FileLayout.h"
#include "UpdateRules.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

namespace tavio {

class ChapterTree;

// What the update needs from the main window and from the process. The main
// window fills it in; tests give it a temporary world.
struct UpdateHost
{
    // The program folder (working files, User.nfo, the help file, the program file).
    FileLayout layout = FileLayout::forThisProgram();
    // The file the running program was started from; it is renamed aside by a
    // program update and started again by the restart.
    QString programFile = QCoreApplication::applicationFilePath();
    UpdateAddresses addresses = UpdateAddresses::fromProfile();
    // The public key the update's descriptors must be signed with (32 bytes of
    // Ed25519); empty: signatures are not looked at. The program sets its built-in key.
    QByteArray updateKey;
    // A log line for each run when the server is not the profile's (UpdateServer.h).
    QString serverNote;
    bool showHints = true;
    bool serialFinished = false;

    // The chapter folder as the folder field shows it, ending with a separator.
    std::function<QString()> chapterFolder;
    // The main chapter tree (the catalogue); null counts as an empty tree.
    std::function<const ChapterTree*()> catalogueTree;
    // Rebuilds the catalogue from the folder.
    std::function<void(const QString& folder)> rebuildCatalogue;
    // Refills the search page's file list from the catalogue.
    std::function<void()> refreshSearchList;
    // Enables the chapter page's next-chapter button.
    std::function<void()> enableNextChapter;
    // Shows a file in the INI viewer, modally.
    std::function<void(const QString& path)> showIniFile;
    // Settles what closing the program would ask (unsaved notes) before a restart;
    // false when the user cancelled, and then nothing is restarted.
    std::function<bool()> settleCloseQuestions;
    // Releases the single-instance lock, so that the restarted program is no second copy.
    std::function<void()> releaseInstanceLock;
    // Starts the program file; false when it cannot be started.
    std::function<bool(const QString& program)> startProgram;
    // Asks the application to end.
    std::function<void()> quit;
    // Gives the chapter view the keyboard again once the window has gone.
    std::function<void()> activateChapterView;
};

} // namespace tavio
