#include "ThemeLook.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace tavio {

namespace {

QColor rgb(quint32 value)
{
    return QColor::fromRgb(QRgb(value));
}

// The same hue and saturation at the mirrored lightness.
QColor mirrored(const QColor& colour)
{
    const QColor hsl = colour.toHsl();
    return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), 1.0f - hsl.lightnessF(), hsl.alphaF()).toRgb();
}

} // namespace

QColor ShownTextColour(const QColor& colour, ReadingTheme theme)
{
    if (theme == ReadingTheme::Light || !colour.isValid())
        return colour;
    if ((colour.rgb() & 0xffffff) == 0)
        return rgb(ColoursOf(theme).text);
    return theme == ReadingTheme::Dark && colour.lightnessF() < 0.5f ? mirrored(colour) : colour;
}

QColor ShownBackColour(const QColor& colour, ReadingTheme theme)
{
    if (theme == ReadingTheme::Light || !colour.isValid())
        return colour;
    if ((colour.rgb() & 0xffffff) == 0xffffff)
        return rgb(ColoursOf(theme).page);
    return theme == ReadingTheme::Dark && colour.lightnessF() > 0.5f ? mirrored(colour) : colour;
}

void ApplyThemePalette(QWidget* view, ReadingTheme theme, bool panel)
{
    // The palette the view had before any theme, kept on the view itself.
    static const char* const OwnPalette = "tavioOwnPalette";
    if (!view->property(OwnPalette).isValid())
        view->setProperty(OwnPalette, QVariant::fromValue(view->palette()));
    QPalette p = view->property(OwnPalette).value<QPalette>();
    if (theme != ReadingTheme::Light) {
        const ThemeColours& c = ColoursOf(theme);
        p.setColor(QPalette::Base, rgb(panel ? c.code : c.page));
        p.setColor(QPalette::Window, rgb(panel ? c.code : c.page));
        p.setColor(QPalette::Text, rgb(panel ? c.codeText : c.text));
        p.setColor(QPalette::WindowText, rgb(panel ? c.codeText : c.text));
        p.setColor(QPalette::Link, rgb(c.link));
        p.setColor(QPalette::LinkVisited, rgb(c.visited));
    }
    view->setPalette(p);
}

} // namespace tavio
