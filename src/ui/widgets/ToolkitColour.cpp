#include "ToolkitColour.h"

#include "Profile.h"

namespace tavio {

namespace {

struct Role
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette's nearest counterpart of each system colour.
Role roleOf(SystemColour colour)
{
    using P = QPalette;
    switch (colour) {
    case SystemColour::ScrollBar: return {P::Active, P::Button};
    case SystemColour::Background: return {P::Active, P::Dark};
    case SystemColour::ActiveCaption: return {P::Active, P::Highlight};
    case SystemColour::InactiveCaption: return {P::Inactive, P::Highlight};
    case SystemColour::Menu: return {P::Active, P::Window};
    case SystemColour::Window: return {P::Active, P::Base};
    case SystemColour::WindowFrame: return {P::Active, P::Shadow};
    case SystemColour::MenuText: return {P::Active, P::WindowText};
    case SystemColour::WindowText: return {P::Active, P::WindowText};
    case SystemColour::CaptionText: return {P::Active, P::HighlightedText};
    case SystemColour::ActiveBorder: return {P::Active, P::Button};
    case SystemColour::InactiveBorder: return {P::Inactive, P::Button};
    case SystemColour::AppWorkSpace: return {P::Active, P::Dark};
    case SystemColour::Highlight: return {P::Active, P::Highlight};
    case SystemColour::HighlightText: return {P::Active, P::HighlightedText};
    case SystemColour::BtnFace: return {P::Active, P::Button};
    case SystemColour::BtnShadow: return {P::Active, P::Dark};
    case SystemColour::GrayText: return {P::Disabled, P::WindowText};
    case SystemColour::BtnText: return {P::Active, P::ButtonText};
    case SystemColour::InactiveCaptionText: return {P::Inactive, P::HighlightedText};
    case SystemColour::BtnHighlight: return {P::Active, P::Light};
    case SystemColour::DkShadow3D: return {P::Active, P::Shadow};
    case SystemColour::Light3D: return {P::Active, P::Midlight};
    case SystemColour::InfoText: return {P::Active, P::ToolTipText};
    case SystemColour::InfoBk: return {P::Active, P::ToolTipBase};
    case SystemColour::HotLight: return {P::Active, P::Link};
    case SystemColour::GradientActiveCaption: return {P::Active, P::Highlight};
    case SystemColour::GradientInactiveCaption: return {P::Inactive, P::Highlight};
    case SystemColour::MenuHighlight: return {P::Active, P::Highlight};
    case SystemColour::MenuBar: return {P::Active, P::Window};
    }
    return {P::Active, P::WindowText};
}

} // namespace

std::optional<QColor> ToolkitColour(const QString& name, const QPalette& palette)
{
    if (const auto rgb = ColourFromName(name))
        return QColor(QRgb(*rgb));
    if (const auto system = SystemColourFromName(name)) {
        const Role r = roleOf(*system);
        return palette.color(r.group, r.role);
    }
    return std::nullopt;
}

} // namespace tavio
