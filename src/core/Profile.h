#pragma once

#include "ProfileId.h"

#include <QHash>
#include <QString>

#include <optional>

// The series profile: one replaceable table of named texts. Numbers, booleans and
// colour names are stored as text and converted at the place of use.
namespace tavio {

class Profile final
{
public:
    // The profile compiled into the program.
    static const Profile& instance();
    // A profile from a JSON document of {"entries": [{"id", "name", "value"}]}.
    static Profile fromJson(const QByteArray& json, QString* error = nullptr);

    QString text(ProfileId id) const;
    QString text(const QString& name) const;
    bool contains(ProfileId id) const { return m_values.contains(int(id)); }
    std::optional<ProfileId> idOf(const QString& name) const;

    // Conversions; a value that does not convert yields the fallback and a warning.
    int integer(ProfileId id, int fallback = 0) const;
    bool boolean(ProfileId id, bool fallback = false) const;
    // A colour as 0xRRGGBB.
    quint32 colour(ProfileId id, quint32 fallback = 0) const;

private:
    QHash<int, QString> m_values;
    QHash<QString, int> m_ids;
};

inline QString P(ProfileId id) { return Profile::instance().text(id); }

// The toolkit's colour constant names (clBlack, clRed, clNavy, ...) as 0xRRGGBB.
std::optional<quint32> ColourFromName(const QString& name);

// The toolkit's system colour names (clBtnFace, clWindowText, ...), in the order of
// the platform's system colour indexes. They follow the desktop's colour scheme, so
// only the user interface can turn them into colours.
enum class SystemColour {
    ScrollBar, Background, ActiveCaption, InactiveCaption, Menu, Window, WindowFrame, MenuText, WindowText,
    CaptionText, ActiveBorder, InactiveBorder, AppWorkSpace, Highlight, HighlightText, BtnFace, BtnShadow, GrayText,
    BtnText, InactiveCaptionText, BtnHighlight, DkShadow3D, Light3D, InfoText, InfoBk, HotLight = 26,
    GradientActiveCaption, GradientInactiveCaption, MenuHighlight, MenuBar,
};
std::optional<SystemColour> SystemColourFromName(const QString& name);

} // namespace tavio
