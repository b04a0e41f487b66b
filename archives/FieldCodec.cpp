#include "archives/FieldCodec.h"

#include "archives/Win1252.h"

#include <cstring>

namespace FieldCodec {

QString read(const char* record, int offset, int capacity)
{
    // A damaged length byte never takes the read past the field.
    const int length = qMin(int(uchar(record[offset])), capacity);
    return Win1252::decode(record + offset + 1, length);
}

void write(char* record, int offset, int capacity, const QString& text)
{
    const QByteArray bytes = Win1252::encode(text, capacity);
    std::memset(record + offset, 0, size_t(capacity) + 1);
    record[offset] = char(uchar(bytes.size()));
    std::memcpy(record + offset + 1, bytes.constData(), size_t(bytes.size()));
}

} // namespace FieldCodec
