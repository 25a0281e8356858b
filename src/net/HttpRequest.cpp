#include "HttpRequest.h"

#include "Cp1250.h"

namespace tavio {

SplitUrlResult SplitUrl(const QString& url)
{
    // Only a leading scheme is dropped; an "http://" later in the address (a query
    // parameter) belongs to the path.
    const QString prefix = QStringLiteral("http://");
    const QString rest = url.startsWith(prefix, Qt::CaseInsensitive) ? url.mid(prefix.size()) : url;
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QString(), rest};
    return {rest.first(slash), rest.sliced(slash)};
}

namespace {

bool isHostNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_';
}

bool isIpv6Char(char c)
{
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' || c == '.';
}

std::optional<int> parsePort(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

} // namespace

std::optional<QByteArray> RequestAddress(const QString& host, const QString& path)
{
    const QByteArray h = host.toLatin1();
    if (h.isEmpty() || QString::fromLatin1(h) != host)
        return std::nullopt;

    QByteArray name;
    bool hasPort = false;
    QByteArrayView portText;
    if (h.startsWith('[')) {
        const qsizetype close = h.indexOf(']');
        if (close < 2)
            return std::nullopt;
        const QByteArrayView inner = QByteArrayView(h).sliced(1, close - 1);
        for (char c : inner)
            if (!isIpv6Char(c))
                return std::nullopt;
        name = h.first(close + 1);
        const QByteArrayView after = QByteArrayView(h).sliced(close + 1);
        if (!after.isEmpty()) {
            if (after.front() != ':')
                return std::nullopt;
            hasPort = true;
            portText = after.sliced(1);
        }
    } else {
        const qsizetype colon = h.indexOf(':');
        name = colon < 0 ? h : h.first(colon);
        if (colon >= 0) {
            hasPort = true;
            portText = QByteArrayView(h).sliced(colon + 1);
        }
        if (name.isEmpty())
            return std::nullopt;
        for (char c : std::as_const(name))
            if (!isHostNameChar(c))
                return std::nullopt;
    }
    int port = 80;
    if (hasPort) {
        const auto p = parsePort(portText);
        if (!p)
            return std::nullopt;
        port = *p;
    }

    QByteArray address = "http://" + name + ':' + QByteArray::number(port);
    // The path is sent in the code page of the program's texts, as the platform's
    // ANSI calls would send it.
    const QByteArray rawPath = cp1250::fromUnicode(path);
    static constexpr char hex[] = "0123456789ABCDEF";
    for (char ch : rawPath) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || c == '#') {
            address += '%';
            address += hex[c >> 4];
            address += hex[c & 0x0F];
        } else {
            address += ch;
        }
    }
    return address;
}

QByteArray HeaderValue(const QString& text)
{
    QByteArray bytes = cp1250::fromUnicode(text);
    bytes.removeIf([](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return bytes;
}

} // namespace tavio
