#include "UpdateRules.h"

#include "ChapterTree.h"
#include "Catalogue.h"
#include "IniFile.h"
#include "Profile.h"

#include <QRegularExpression>

namespace tavio {

UpdateAddresses UpdateAddresses::fromProfile()
{
    return {P(ProfileId::UpdateIniUrl), P(ProfileId::FilesIniUrl), P(ProfileId::ExeUrl), P(ProfileId::WhatsNewUrl),
            P(ProfileId::UserInfoUrl),  P(ProfileId::ChaptersUrl), P(ProfileId::HelpZipUrl)};
}

bool IsNewVersion(const TProgramVersion& server, const TProgramVersion& running)
{
    const auto greater = [](quint32 a, quint32 b) { return qint32(a) > qint32(b); };
    return greater(server.Major, running.Major) || greater(server.Minor, running.Minor)
        || greater(server.Release, running.Release) || greater(server.Build, running.Build);
}

QString ServerVersionText(const TProgramVersion& v)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(qint32(v.Major))
        .arg(qint32(v.Minor))
        .arg(qint32(v.Release))
        .arg(qint32(v.Build));
}

UpdateDescriptor ReadUpdateDescriptor(const IniFile& ini, const TProgramVersion& running)
{
    const QString section = QStringLiteral("last_version");
    const auto component = [&](const char* key, quint32 own) {
        return quint32(ini.intValue(section, QLatin1String(key), qint32(own)));
    };
    UpdateDescriptor d;
    d.hasLastVersion = ini.hasSection(section);
    d.version.Major = component("major", running.Major);
    d.version.Minor = component("minor", running.Minor);
    d.version.Release = component("release", running.Release);
    d.version.Build = component("build", running.Build);
    d.lastFileIndex = ini.intValue(QStringLiteral("last_file_index"), QStringLiteral("value"), 0);
    return d;
}

int CountLocalChapters(const ChapterTree& tree)
{
    if (tree.isEmpty())
        return -1;
    int count = 0;
    bool first = true;
    tree.forEach([&](TreeNode* node) {
        if (!first && node->imageIndex == image::Chapter)
            ++count;
        first = false;
    });
    return count;
}

UpdateOptions UpdateOptions::withProgram(bool on) const
{
    UpdateOptions o = *this;
    o.program = on;
    if (!on)
        o.files = true;
    return o;
}

UpdateOptions UpdateOptions::withFiles(bool on) const
{
    UpdateOptions o = *this;
    o.files = on;
    if (!on)
        o.program = true;
    return o;
}

UpdateOptions UpdateOptions::forFinishedSeries()
{
    return UpdateOptions{}.withFiles(false);
}

UpdatePlan PlanUpdate(const UpdateDescriptor& descriptor, const TProgramVersion& running, const UpdateOptions& options)
{
    UpdatePlan plan;
    const bool newer = IsNewVersion(descriptor.version, running);
    plan.whatsNew = newer;
    if (options.program && newer) {
        plan.programDownload = true;
    } else if (options.program) {
        // Without the section nothing was announced, so nothing is reported missing.
        plan.noNewVersion = descriptor.hasLastVersion;
        plan.chapterCheck = options.files && descriptor.hasLastVersion;
    } else if (options.files) {
        plan.chapterCheck = true;
    }
    return plan;
}

namespace {

// n rounded half up to a multiple of unit. Unsigned: a byte count near the 64-bit
// limit plus half a unit still fits.
quint64 roundHalfUp(quint64 n, quint64 unit)
{
    return (n + unit / 2) / unit * unit;
}

int digitCount(quint64 n)
{
    int d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

quint64 power10(int e)
{
    quint64 p = 1;
    while (e-- > 0)
        p *= 10;
    return p;
}

} // namespace

QString KilobyteText(qint64 bytes, const QLocale& locale)
{
    // The value is bytes / 1000 exactly, so the rounding works on the decimal digits
    // of the byte count, as the platform's formatting does on its decimal digits.
    constexpr int Precision = 5;
    const bool negative = bytes < 0;
    // The magnitude of the smallest value does not fit a qint64.
    const quint64 n = negative ? 0 - quint64(bytes) : quint64(bytes);
    quint64 rounded = n;
    if (n > 0 && digitCount(n) > Precision)
        rounded = roundHalfUp(n, power10(digitCount(n) - Precision));
    const QString sign = negative && rounded != 0 ? locale.negativeSign() : QString();
    const QString point = locale.decimalPoint();

    const int integerDigits = rounded == 0 ? 1 : digitCount(rounded) - 3;
    if (integerDigits > Precision) {
        // d,dddd E+xx: five significant digits, an exponent of at least two digits.
        const int digits = digitCount(rounded);
        const QString mantissa = QString::number(rounded / power10(digits - Precision));
        const int exponent = digits - 1 - 3;
        return sign + mantissa.left(1) + point + mantissa.mid(1) + QLatin1Char('E') + QLatin1Char('+')
            + QStringLiteral("%1").arg(exponent, 2, 10, QLatin1Char('0'));
    }
    const quint64 hundredths = roundHalfUp(rounded, 10) / 10;
    return sign + QString::number(hundredths / 100) + point
        + QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QString SizeText(qint64 readed, qint64 total, const QLocale& locale)
{
    return KilobyteText(readed, locale) + QStringLiteral(" kb/") + KilobyteText(total, locale) + QStringLiteral(" kb");
}

QString LogLineText(const QDateTime& when, const QString& text, const QLocale& locale)
{
    // The toolkit's long time format names the time zone; the user's time does not.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.replace(zone, QStringLiteral(" "));
    timeFormat = timeFormat.trimmed();
    return locale.toString(when.date(), QLocale::ShortFormat) + QStringLiteral(" [")
        + locale.toString(when.time(), timeFormat) + QStringLiteral("] ") + text;
}

} // namespace tavio
