#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tavio {

// The settings of one transfer, copied from THTTPGet when it starts.
struct HttpRequest
{
    QString AcceptTypes;
    QString Agent;
    QString URL;
    QString FileName;   // as the caller gave it, for OnDoneFile
    QString targetPath; // FileName made absolute when the transfer started
    QString UserName;
    QString Password;
    QString PostQuery;
    QString Referer;
    bool BinaryData = false;
    bool UseCache = false;
    bool toFile = false;
    bool hasProgress = false;
    int stallTimeoutMs = 0;
};

struct SplitUrlResult
{
    QString host;
    QString path;
};

// Host and object path of a URL: an "http://" prefix (in any case) is dropped, the
// host is the text before the first '/', the path the rest with that '/'. Without a
// '/' the host is empty and the whole text is the path.
SplitUrlResult SplitUrl(const QString& url);

// The address libcurl is given for a host ("name" or "name:port", port 80 when
// absent) and a path. Nothing when the host is empty or holds anything but a name,
// an IPv4 or a bracketed IPv6 address and a port, so that no user name, second
// scheme or header can ride in on it. Bytes of the path that may not stand in a
// request line (controls, blanks, '#', non-ASCII) are percent-encoded.
std::optional<QByteArray> RequestAddress(const QString& host, const QString& path);

// A header value with CR, LF and NUL removed, so that it stays one header line.
QByteArray HeaderValue(const QString& text);

} // namespace tavio
