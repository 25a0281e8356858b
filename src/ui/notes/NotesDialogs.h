#pragma once

#include "FileCopy.h"
#include "NotesStyles.h"

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tavio {

// The dialogs the notes page opens. Each is a replaceable function, so that tests
// answer them without a modal window; the defaults show the real dialogs.
struct NotesDialogs
{
    // A colour, or nothing when cancelled.
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> color;
    // The font dialog: name, size, styles and colour; nothing when cancelled.
    std::function<std::optional<TextStyle>(QWidget* parent, const TextStyle& initial)> font;
    // A picture file to insert; empty when cancelled.
    std::function<QString(QWidget* parent)> picture;
    // A folder for the export or import of notes; empty when cancelled.
    std::function<QString(QWidget* parent)> folder;
    // The file to export notes to (HTML or Markdown, by its name); empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title)> exportFile;
    // The question before a copied file replaces another.
    std::function<ReplaceAnswer(QWidget* parent, const QString& target)> replace;

    static NotesDialogs standard();
};

} // namespace tavio
