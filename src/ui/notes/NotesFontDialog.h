#pragma once

#include "NotesStyles.h"

#include <QDialog>

class QComboBox;
class QFontDialog;

namespace tavio {

// The font dialog of the notes: the installed fonts with their styles and sizes
// (1 to 72), the effects underline and strike-out, and the text colour.
class NotesFontDialog final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MinSize = 1;
    static constexpr int MaxSize = 72;

    explicit NotesFontDialog(const TextStyle& initial, QWidget* parent = nullptr);

    // The chosen name, size, styles and colour on top of the initial style.
    TextStyle chosen() const;

private:
    TextStyle m_initial;
    QFontDialog* m_fonts;
    QComboBox* m_color;
};

} // namespace tavio
