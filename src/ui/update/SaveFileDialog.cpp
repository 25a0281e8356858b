#include "SaveFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tavio {

QString RunSaveFileDialog(QWidget* parent, const SaveFileRequest& request)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // "soubory [*.log]|*.log" becomes "soubory [*.log] (*.log)".
    const qsizetype bar = request.filter.indexOf(QLatin1Char('|'));
    if (bar >= 0)
        dialog.setNameFilter(request.filter.left(bar) + QStringLiteral(" (") + request.filter.mid(bar + 1)
                             + QLatin1Char(')'));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) {
        const QFileInfo info(request.fileName);
        if (info.isAbsolute())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace tavio
