#include "NotesFontDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>

namespace tavio {

namespace {

struct NamedColor
{
    const char16_t* name;
    quint32 rgb;
};

// The sixteen basic colours that font dialogs offer for the text.
constexpr NamedColor BasicColors[] = {
    {u"Černá", 0x000000},   {u"Kaštanová", 0x800000}, {u"Zelená", 0x008000},  {u"Olivová", 0x808000},
    {u"Námořnická", 0x000080}, {u"Purpurová", 0x800080}, {u"Modrozelená", 0x008080}, {u"Šedá", 0x808080},
    {u"Stříbrná", 0xC0C0C0}, {u"Červená", 0xFF0000},  {u"Limetková", 0x00FF00}, {u"Žlutá", 0xFFFF00},
    {u"Modrá", 0x0000FF},    {u"Fuchsiová", 0xFF00FF}, {u"Azurová", 0x00FFFF},  {u"Bílá", 0xFFFFFF},
};

QIcon swatch(quint32 rgb)
{
    QPixmap p(16, 12);
    p.fill(QColor::fromRgb(rgb));
    return QIcon(p);
}

} // namespace

NotesFontDialog::NotesFontDialog(const TextStyle& initial, QWidget* parent)
    : QDialog(parent)
    , m_initial(initial)
{
    setWindowTitle(QStringLiteral("Písmo"));
    m_fonts = new QFontDialog(this);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);
    QFont font(initial.FontName);
    font.setPointSize(std::clamp(initial.Size, MinSize, MaxSize));
    font.setBold(initial.Bold);
    font.setItalic(initial.Italic);
    font.setUnderline(initial.Underline);
    font.setStrikeOut(initial.StrikeOut);
    m_fonts->setCurrentFont(font);

    m_color = new QComboBox(this);
    int current = -1;
    for (const NamedColor& c : BasicColors) {
        m_color->addItem(swatch(c.rgb), QString::fromUtf16(c.name), c.rgb);
        if (c.rgb == (initial.Color & 0xFFFFFF))
            current = m_color->count() - 1;
    }
    if (current < 0) {
        m_color->addItem(swatch(initial.Color), QStringLiteral("Vlastní"), initial.Color & 0xFFFFFF);
        current = m_color->count() - 1;
    }
    m_color->setCurrentIndex(current);

    auto* colorRow = new QHBoxLayout;
    auto* colorLabel = new QLabel(QStringLiteral("&Barva:"), this);
    colorLabel->setBuddy(m_color);
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_color);
    colorRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts, 1);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

TextStyle NotesFontDialog::chosen() const
{
    const QFont font = m_fonts->currentFont();
    TextStyle s = m_initial;
    if (!font.families().isEmpty())
        s.FontName = font.families().first();
    s.Size = std::clamp(font.pointSize() > 0 ? font.pointSize() : m_initial.Size, MinSize, MaxSize);
    s.Bold = font.bold();
    s.Italic = font.italic();
    s.Underline = font.underline();
    s.StrikeOut = font.strikeOut();
    s.Color = m_color->currentData().toUInt();
    return s;
}

} // namespace tavio
