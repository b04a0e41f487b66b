#pragma once

#include <QString>

#include <optional>

// Scrambling of the access password: two upper-case hexadecimal digits per character.
namespace Crypt {

QString encode(const QString& password);
// Fails (nullopt) when a pair of digits is not hexadecimal; a last odd digit is ignored.
std::optional<QString> decode(const QString& scrambled);

} // namespace Crypt
