#pragma once

#include <QStringList>

class QObject;

namespace tavio {

// Installs the Czech catalogues of Qt's own dialogs and buttons that this system has,
// from Qt's translations folder, owned by owner. Returns the names of those installed.
// Texts that Qt moved to a context its Czech catalogue does not have yet (the type of a
// file in the file dialogs, "Folder") are looked up under their former context.
QStringList InstallQtTranslations(QObject* owner);

} // namespace tavio
