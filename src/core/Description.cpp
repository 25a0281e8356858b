#include "Description.h"

namespace tavio {

namespace {

struct Step
{
    const char* placeholder;
    ProfileId id;
    bool firstOnlyIgnoringCase;
};

constexpr Step Steps[] = {
    {"%BuilderName", ProfileId::LogoLine2, false},
    {"%AuthorTitul", ProfileId::AuthorTitul, false},
    {"%SerialAuthor", ProfileId::SerialAuthor, false},
    {"%ApplicationTitle", ProfileId::ApplicationTitle, false},
    {"%WebDiskuse", ProfileId::ForumUrl, false},
    {"%www", ProfileId::HomePageUrl, false},
    {"%NextSoft01", ProfileId::NextSoft01, true},
    {"%NextSoft02", ProfileId::NextSoft02, true},
    {"%NextSoft03", ProfileId::NextSoft03, true},
    {"%NextSoft01_URL", ProfileId::NextSoft01_URL, true},
    {"%NextSoft02_URL", ProfileId::NextSoft02_URL, true},
    {"%NextSoft03_URL", ProfileId::NextSoft03_URL, true},
    {"%Email", ProfileId::Email, false},
};

int weight(QChar c)
{
    return c == QLatin1Char('\n') ? 2 : 1;
}

} // namespace

QString FillDescription(QString text, const ProfileLookup& value)
{
    for (const Step& step : Steps) {
        const QString placeholder = QLatin1String(step.placeholder);
        const QString replacement = value(step.id);
        if (step.firstOnlyIgnoringCase) {
            const qsizetype at = text.indexOf(placeholder, 0, Qt::CaseInsensitive);
            if (at >= 0)
                text.replace(at, placeholder.size(), replacement);
        } else {
            text.replace(placeholder, replacement, Qt::CaseSensitive);
        }
    }
    return text;
}

qsizetype MarkedSpanFromStart(QStringView text, int count)
{
    qsizetype i = 0;
    for (int left = count; left > 0 && i < text.size(); ++i)
        left -= weight(text[i]);
    return i;
}

qsizetype MarkedSpanFromEnd(QStringView text, int count)
{
    qsizetype i = text.size();
    for (int left = count; left > 0 && i > 0; --i)
        left -= weight(text[i - 1]);
    return text.size() - i;
}

} // namespace tavio
