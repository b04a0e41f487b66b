#include "archives/PackedFields.h"

#include <cstring>
#include <utility>

namespace {

// The library's copy is quick for the short texts of the fields. Knowing that a length is below 256,
// the compiler puts a string move instruction in its place, which is slow to start; read back from
// a volatile, the length is just a number again and the library's copy is called.
void copyText(char* to, const char* from, size_t length)
{
    const volatile size_t unknown = length;
    std::memcpy(to, from, unknown);
}

// The text of a field without the blanks around it. Trimming on bytes is exact: only bytes up to
// 0x20 decode to characters of code 32 or below.
std::pair<const char*, size_t> trimmedText(const char* record, FieldPlace place)
{
    const QByteArrayView text = FieldCodec::textBytes(record, place);
    qsizetype begin = 0, end = text.size();
    while (begin < end && uchar(text[begin]) <= 32)
        ++begin;
    while (end > begin && uchar(text[end - 1]) <= 32)
        --end;
    return {text.data() + begin, size_t(end - begin)};
}

} // namespace

PackedFields::PackedFields(QList<FieldPlace> places) : m_places(std::move(places)) {}

size_t PackedFields::maxRowBytes() const
{
    size_t most = 0;
    for (const FieldPlace& place : m_places)
        most += 1 + size_t(qMin(place.capacity, 255));
    return most;
}

void PackedFields::appendRow(const char* record, std::vector<char>& out) const
{
    const size_t at = out.size();
    out.resize(at + maxRowBytes());
    out.resize(at + writeRow(record, out.data() + at));
}

size_t PackedFields::writeRow(const char* record, char* out) const
{
    char* at = out;
    for (const FieldPlace& place : m_places) {
        const auto [text, length] = trimmedText(record, place);
        *at++ = char(uchar(length));
        copyText(at, text, length);
        at += length;
    }
    return size_t(at - out);
}
