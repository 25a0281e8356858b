#pragma once

#include <QString>

// The magazine that publishes the series; its logo sits on two toolbars.
namespace tavio::publisher {

inline QString address()
{
    return QStringLiteral("http://www.kodovna.example/");
}

} // namespace tavio::publisher
