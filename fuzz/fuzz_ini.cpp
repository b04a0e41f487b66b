// The settings-file editor on arbitrary file content: reading the value, setting it, and keeping
// every line that is not the edited one.

#include "archives/IniText.h"

#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const QString Section = u"Accesso"_s;
const QString Key = u"Valore"_s;

// The bytes of `before` that `after` no longer holds, between their common prefix and suffix.
QByteArray removed(const QByteArray& before, const QByteArray& after)
{
    qsizetype a = 0;
    while (a < before.size() && a < after.size() && before[a] == after[a])
        ++a;
    qsizetype b = 0;
    while (b < before.size() - a && b < after.size() - a &&
           before[before.size() - 1 - b] == after[after.size() - 1 - b])
        ++b;
    return before.mid(a, before.size() - a - b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)IniText::value(content, Section, Key);

    const QString value = u"5A61B8C7"_s;
    const QByteArray edited = IniText::setValue(content, Section, Key, value);
    check(IniText::value(edited, Section, Key) == value);
    // Only a value is replaced, or lines are added: no line end of the file is lost.
    check(!removed(content, edited).contains('\n'));

    // A second change replaces the value where it stands.
    const QByteArray again = IniText::setValue(edited, Section, Key, u"00"_s);
    check(IniText::value(again, Section, Key) == u"00"_s);
    check(again.size() == edited.size() - value.size() + 2);
    return 0;
}
