#include "NotesDialogs.h"

#include "NotesFontDialog.h"
#include "Profile.h"
#include "widgets/WindowSize.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace tavio {

namespace {

// The open dialog of "Vložit obrázek" with a preview of the selected picture
// beside the file list.
QString choosePicture(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Vložit obrázek"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({QStringLiteral("Grafické soubory [*.bmp;*.wmf;*.emf;*.ico;*.jpg] (*.bmp *.wmf *.emf *.ico *.jpg)"),
                           QStringLiteral("Všechny [*.*] (*)")});
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(160, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (size.isValid() && !size.isEmpty())
            reader.setScaledSize(size.scaled(preview->size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        const QImage image = reader.read();
        preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    });
    FitFileTypes(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

ReplaceAnswer askReplace(QWidget* parent, const QString& target)
{
    QMessageBox box(parent);
    box.setWindowTitle(P(ProfileId::ApplicationTitle));
    box.setIcon(QMessageBox::Question);
    box.setText(QStringLiteral("Cílový adresář již obsahuje soubor %1.\nChcete jej nahradit?")
                    .arg(QDir::toNativeSeparators(target)));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll
                           | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return ReplaceAnswer::Yes;
    case QMessageBox::YesToAll: return ReplaceAnswer::YesToAll;
    case QMessageBox::No: return ReplaceAnswer::No;
    case QMessageBox::NoToAll: return ReplaceAnswer::NoToAll;
    default: return ReplaceAnswer::Cancel;
    }
}

} // namespace

NotesDialogs NotesDialogs::standard()
{
    NotesDialogs d;
    d.color = [](QWidget* parent, const QColor& initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    };
    d.font = [](QWidget* parent, const TextStyle& initial) -> std::optional<TextStyle> {
        NotesFontDialog dialog(initial, parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.chosen();
    };
    d.picture = choosePicture;
    d.folder = [](QWidget* parent) {
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("Vyberte adresář"));
    };
    d.exportFile = [](QWidget* parent, const QString& title) {
        const QString html = QStringLiteral("Stránka HTML (*.htm *.html)");
        const QString markdown = QStringLiteral("Markdown (*.md)");
        QString filter = html;
        QString path = QFileDialog::getSaveFileName(parent, title, QString(), html + QStringLiteral(";;") + markdown,
                                                    &filter);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += filter == markdown ? QStringLiteral(".md") : QStringLiteral(".htm");
        return path;
    };
    d.replace = askReplace;
    return d;
}

} // namespace tavio
