#include "archives/FieldCodec.h"

#include "archives/Win1252.h"

#include <cstring>

namespace FieldCodec {

QString read(const char* record, int offset, int capacity)
{
    QString out;
    readInto(out, record, offset, capacity);
    return out;
}

void readInto(QString& out, const char* record, int offset, int capacity)
{
    // A damaged length byte never takes the read past the field.
    const int length = qMin(int(uchar(record[offset])), capacity);
    Win1252::decodeInto(out, record + offset + 1, length);
}

void write(char* record, int offset, int capacity, const QString& text)
{
    const QByteArray bytes = Win1252::encode(text, capacity);
    std::memset(record + offset, 0, size_t(capacity) + 1);
    record[offset] = char(uchar(bytes.size()));
    std::memcpy(record + offset + 1, bytes.constData(), size_t(bytes.size()));
}

} // namespace FieldCodec
