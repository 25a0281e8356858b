#include "WindowSize.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>

namespace tavio {

namespace {
// The icon, the three buttons and the margins of a title bar, in lines of text: window
// managers draw them in proportion to their title font.
constexpr int TitleBarChromeLines = 8;
} // namespace

int TitleBarWidth(const QString& caption)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    return fm.horizontalAdvance(caption) + TitleBarChromeLines * fm.height();
}

QSize GrownLeastSize(const QWidget* window, QSize designSize)
{
    QSize least = designSize.expandedTo(window->minimumSizeHint());
    least.setWidth(std::max(least.width(), TitleBarWidth(window->windowTitle())));
    // Never beyond the screen, where texts have to be shortened after all.
    if (const QScreen* screen = window->screen())
        least = least.boundedTo(screen->availableGeometry().size()).expandedTo(designSize);
    return least;
}

void FitFileTypes(QFileDialog* dialog)
{
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (!types)
        return;
    types->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    dialog->resize(dialog->size().expandedTo(dialog->sizeHint()));
}

std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt, const QString& text)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(text);
    // The box's layout sets its size: the text field carries the width the caption needs.
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        field->setMinimumWidth(TitleBarWidth(caption) - margins.left() - margins.right());
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace tavio
