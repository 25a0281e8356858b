#include "UpdateServer.h"

#include <QUrl>

namespace tavio {

QString UpdateServerArgument(const QStringList& arguments)
{
    const QString option = QStringLiteral("--") + QLatin1String(UpdateServerOption);
    const QString withValue = option + QLatin1Char('=');
    QString value;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            value = arguments[++i];
        else if (arguments[i].startsWith(withValue))
            value = arguments[i].mid(withValue.size());
    }
    return value;
}

std::optional<UpdateAddresses> AddressesOnServer(const QString& url, const UpdateAddresses& profile)
{
    const QUrl u(url.trimmed(), QUrl::StrictMode);
    if (!u.isValid() || u.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0 || u.host().isEmpty()
        || !u.userInfo().isEmpty() || u.hasQuery() || u.hasFragment())
        return std::nullopt;
    QString host = u.host(QUrl::FullyEncoded);
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    QString base = host + (u.port() >= 0 ? QLatin1Char(':') + QString::number(u.port()) : QString())
                 + u.path(QUrl::FullyEncoded);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    // A profile address is host and path; the path goes below the chosen prefix.
    const auto moved = [&](const QString& address) -> QString {
        const qsizetype slash = address.indexOf(QLatin1Char('/'));
        return base + (slash < 0 ? QStringLiteral("/") : address.mid(slash));
    };
    return UpdateAddresses{moved(profile.updateIni), moved(profile.filesIni), moved(profile.exe),
                           moved(profile.whatsNew),  moved(profile.userInfo), moved(profile.chapters),
                           moved(profile.helpZip)};
}

UpdateServerChoice ChooseUpdateServer(const QStringList& arguments, const QString& setting,
                                      const UpdateAddresses& profile)
{
    QString chosen = UpdateServerArgument(arguments);
    if (chosen.isEmpty())
        chosen = setting.trimmed();
    if (chosen.isEmpty())
        return {profile, QString()};
    if (const auto addresses = AddressesOnServer(chosen, profile))
        return {*addresses, QStringLiteral("Server aktualizací: ") + chosen};
    return {profile, QStringLiteral("Neplatná adresa serveru aktualizací, použije se výchozí: ") + chosen};
}

} // namespace tavio
