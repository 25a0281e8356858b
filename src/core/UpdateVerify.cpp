#include "UpdateVerify.h"

#include "IniFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace tavio {

ExpectedFile ExpectedFile::fromIni(const IniFile& ini, const QString& section, const QString& sizeKey,
                                   const QString& hashKey)
{
    return {ini.value(section, sizeKey), ini.value(section, hashKey)};
}

std::optional<QByteArray> FileSha256(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f))
        return std::nullopt;
    return hash.result().toHex();
}

bool MatchesExpected(const QString& path, const ExpectedFile& e)
{
    if (!e.size.isEmpty()) {
        bool ok = true;
        for (const QChar c : e.size)
            ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const qint64 size = ok ? e.size.toLongLong(&ok) : -1;
        if (!ok || QFileInfo(path).size() != size)
            return false;
    }
    if (!e.sha256.isEmpty()) {
        const QByteArray wanted = e.sha256.toLatin1().toLower();
        if (wanted.size() != 64 || QByteArray::fromHex(wanted).toHex() != wanted)
            return false;
        const auto got = FileSha256(path);
        if (!got || *got != wanted)
            return false;
    }
    return true;
}

} // namespace tavio
