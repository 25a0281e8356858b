#pragma once

#include <QSize>
#include <QString>

#include <optional>

class QFileDialog;
class QWidget;

namespace tavio {

// Width a title bar needs to show the caption whole: the caption in the bold form of
// the program's font, plus the icon and the three buttons of a common title bar.
int TitleBarWidth(const QString& caption);

// The least size of a window: its design size, grown to what its contents need with
// the fonts in use (the layout's minimum and the caption in the title bar), as far
// as the screen allows.
QSize GrownLeastSize(const QWidget* window, QSize designSize);

// Makes a file dialog wide enough for its file type captions.
void FitFileTypes(QFileDialog* dialog);

// The program's input box (caption, prompt, offered text); nothing on Cancel.
std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                const QString& text);

} // namespace tavio
