#include "Profile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcProfile, "tavio.profile")

namespace tavio {

Profile Profile::fromJson(const QByteArray& json, QString* error)
{
    Profile profile;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        if (error)
            *error = parseError.errorString();
        return profile;
    }
    const QJsonArray entries = doc.object().value(QLatin1String("entries")).toArray();
    for (const QJsonValue& v : entries) {
        const QJsonObject e = v.toObject();
        const int id = e.value(QLatin1String("id")).toInt();
        const QString name = e.value(QLatin1String("name")).toString();
        profile.m_values.insert(id, e.value(QLatin1String("value")).toString());
        profile.m_ids.insert(name, id);
    }
    return profile;
}

const Profile& Profile::instance()
{
    static const Profile profile = [] {
        QFile file(QStringLiteral(":/profile/profile.json"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The series profile is missing from the program.");
        QString error;
        Profile p = fromJson(file.readAll(), &error);
        if (!error.isEmpty())
            qFatal("The series profile cannot be read: %s", qPrintable(error));
        return p;
    }();
    return profile;
}

QString Profile::text(ProfileId id) const
{
    return m_values.value(int(id));
}

QString Profile::text(const QString& name) const
{
    const auto it = m_ids.constFind(name);
    return it == m_ids.cend() ? QString() : m_values.value(*it);
}

std::optional<ProfileId> Profile::idOf(const QString& name) const
{
    const auto it = m_ids.constFind(name);
    if (it == m_ids.cend())
        return std::nullopt;
    return ProfileId(*it);
}

int Profile::integer(ProfileId id, int fallback) const
{
    bool ok = false;
    const int value = text(id).trimmed().toInt(&ok);
    if (!ok) {
        qCWarning(lcProfile) << "profile entry" << int(id) << "is not a number:" << text(id);
        return fallback;
    }
    return value;
}

bool Profile::boolean(ProfileId id, bool fallback) const
{
    const QString v = text(id).trimmed();
    if (v == QLatin1String("0"))
        return false;
    if (v == QLatin1String("1"))
        return true;
    qCWarning(lcProfile) << "profile entry" << int(id) << "is not a boolean:" << v;
    return fallback;
}

quint32 Profile::colour(ProfileId id, quint32 fallback) const
{
    const auto c = ColourFromName(text(id));
    if (!c) {
        qCWarning(lcProfile) << "profile entry" << int(id) << "is not a colour name:" << text(id);
        return fallback;
    }
    return *c;
}

std::optional<quint32> ColourFromName(const QString& name)
{
    struct Named
    {
        const char* name;
        quint32 rgb;
    };
    // The toolkit's standard colour constants, as RGB.
    static constexpr Named table[] = {
        {"clBlack", 0x000000},   {"clMaroon", 0x800000}, {"clGreen", 0x008000},     {"clOlive", 0x808000},
        {"clNavy", 0x000080},    {"clPurple", 0x800080}, {"clTeal", 0x008080},      {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0},  {"clRed", 0xFF0000},    {"clLime", 0x00FF00},      {"clYellow", 0xFFFF00},
        {"clBlue", 0x0000FF},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0x00FFFF},     {"clLtGray", 0xC0C0C0},
        {"clDkGray", 0x808080},  {"clWhite", 0xFFFFFF},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xA6CAF0},
        {"clCream", 0xFFFBF0},   {"clMedGray", 0xA0A0A4},
    };
    const QString n = name.trimmed();
    for (const Named& e : table) {
        if (n.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return e.rgb;
    }
    // A numeric colour (decimal or $BBGGRR hex) is accepted as the toolkit does.
    bool ok = false;
    qint64 v = n.startsWith(QLatin1Char('$')) ? n.mid(1).toLongLong(&ok, 16) : n.toLongLong(&ok, 10);
    if (ok && v >= 0 && v <= 0xFFFFFF)
        return quint32(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
    return std::nullopt;
}

std::optional<SystemColour> SystemColourFromName(const QString& name)
{
    struct Named
    {
        const char* name;
        SystemColour colour;
    };
    static constexpr Named table[] = {
        {"clScrollBar", SystemColour::ScrollBar},
        {"clBackground", SystemColour::Background},
        {"clActiveCaption", SystemColour::ActiveCaption},
        {"clInactiveCaption", SystemColour::InactiveCaption},
        {"clMenu", SystemColour::Menu},
        {"clWindow", SystemColour::Window},
        {"clWindowFrame", SystemColour::WindowFrame},
        {"clMenuText", SystemColour::MenuText},
        {"clWindowText", SystemColour::WindowText},
        {"clCaptionText", SystemColour::CaptionText},
        {"clActiveBorder", SystemColour::ActiveBorder},
        {"clInactiveBorder", SystemColour::InactiveBorder},
        {"clAppWorkSpace", SystemColour::AppWorkSpace},
        {"clHighlight", SystemColour::Highlight},
        {"clHighlightText", SystemColour::HighlightText},
        {"clBtnFace", SystemColour::BtnFace},
        {"clBtnShadow", SystemColour::BtnShadow},
        {"clGrayText", SystemColour::GrayText},
        {"clBtnText", SystemColour::BtnText},
        {"clInactiveCaptionText", SystemColour::InactiveCaptionText},
        {"clBtnHighlight", SystemColour::BtnHighlight},
        {"cl3DDkShadow", SystemColour::DkShadow3D},
        {"cl3DLight", SystemColour::Light3D},
        {"clInfoText", SystemColour::InfoText},
        {"clInfoBk", SystemColour::InfoBk},
        {"clHotLight", SystemColour::HotLight},
        {"clGradientActiveCaption", SystemColour::GradientActiveCaption},
        {"clGradientInactiveCaption", SystemColour::GradientInactiveCaption},
        {"clMenuHighlight", SystemColour::MenuHighlight},
        {"clMenuBar", SystemColour::MenuBar},
    };
    const QString n = name.trimmed();
    for (const Named& e : table) {
        if (n.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return e.colour;
    }
    return std::nullopt;
}

} // namespace tavio
