#pragma once

#include <QString>

// Who makes Ingressario and how to reach them: the launcher's web strip, the information and splash
// windows all read these, so the addresses are changed in one place.
namespace Maker {

inline QString name()
{
    return QStringLiteral("Cartavolante Software");
}
// What the launcher's strip and the splash window's caption say about the maker.
inline QString notice()
{
    return QStringLiteral("un prodotto Cartavolante Software");
}
// The web address as shown and as handed to the desktop (a scheme, so it is never taken for a file).
inline QString webText()
{
    return QStringLiteral("www.cartavolante.it");
}
inline QString webAddress()
{
    return QStringLiteral("https://www.cartavolante.it");
}
inline QString emailAddress()
{
    return QStringLiteral("assistenza@cartavolante.it");
}

} // namespace Maker
