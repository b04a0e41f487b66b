// Password decoding of arbitrary stored text, and scrambling of arbitrary passwords.

#include "archives/Crypt.h"

#include <QByteArray>

#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // As the stored text: the settings file hands it over as single-byte text; UTF-8 for good measure.
    for (const QString& stored : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
        if (const auto password = Crypt::decode(stored)) {
            check(password->size() == stored.size() / 2);
            // What decodes is hexadecimal: scrambling the password again gives it back, upper-cased.
            check(Crypt::encode(*password) == stored.left(2 * password->size()).toUpper());
        }
    }

    // As a password: two digits per character, and each character comes back as its low byte.
    const QString password = QString::fromUtf8(bytes);
    const QString stored = Crypt::encode(password);
    check(stored.size() == 2 * password.size());
    const auto back = Crypt::decode(stored);
    check(back.has_value() && back->size() == password.size());
    for (qsizetype i = 0; i < password.size(); ++i)
        check(back->at(i).unicode() == (password[i].unicode() & 0xFF));
    return 0;
}
