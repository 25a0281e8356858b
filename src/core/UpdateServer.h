#pragma once

#include "UpdateRules.h"

#include <QString>
#include <QStringList>

#include <optional>

// The server of the on-line update is the profile's unless the user chose another:
// by the command-line option "--update-server URL" (which wins) or by the string
// value "UpdateServer" under the program's "Settings" key. Any http:// address
// with a host, an optional port and an optional path prefix will do; every file
// keeps its path from the profile below that prefix.
namespace tavio {

// The option's name, for a command-line parser to take over.
inline constexpr char UpdateServerOption[] = "update-server";
inline constexpr char UpdateServerValueName[] = "UpdateServer";

// "--update-server URL" or "--update-server=URL"; empty when absent.
QString UpdateServerArgument(const QStringList& arguments);

// The profile's addresses moved onto the server; nothing when url is not an
// http:// address with a host (and without user, query or fragment).
std::optional<UpdateAddresses> AddressesOnServer(const QString& url, const UpdateAddresses& profile);

struct UpdateServerChoice
{
    UpdateAddresses addresses;
    QString note; // a log line when the server is not the profile's, else empty
};

// The argument wins over the setting; neither, or a faulty one, keeps the profile's
// server (a faulty one with a note saying so).
UpdateServerChoice ChooseUpdateServer(const QStringList& arguments, const QString& setting,
                                      const UpdateAddresses& profile = UpdateAddresses::fromProfile());

} // namespace tavio
