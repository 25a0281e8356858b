#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tavio {

// What a save dialog is opened with. The filter is written as the platform writes
// it, "description|pattern".
struct SaveFileRequest
{
    QString fileName;
    QString filter;
    QString defaultSuffix;
};

// Returns the chosen file or an empty text. The dialog asks before replacing a file
// and takes only names in an existing folder. Tests replace it.
using SaveFileDialog = std::function<QString(QWidget* parent, const SaveFileRequest& request)>;

QString RunSaveFileDialog(QWidget* parent, const SaveFileRequest& request);

} // namespace tavio
