#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Where a text field lies in a record: the offset of its length byte and its capacity. The record
// types give the places of their fields from their layout tables (PassRecord::place).
struct FieldPlace
{
    int offset = 0;
    int capacity = 0;

    bool operator==(const FieldPlace&) const = default;
};

// A text field of capacity N occupies N + 1 bytes: a length byte L, then N bytes of which the
// first L are the text. Shared by every record layout.
namespace FieldCodec {

// Reads the field at `offset`; a length byte larger than the capacity is read as the capacity.
QString read(const char* record, int offset, int capacity);
// The same into `out`, reusing its storage (Win1252::decodeInto).
void readInto(QString& out, const char* record, int offset, int capacity);

// The bytes of the text of the field at `place`, as the record holds them (Windows-1252, not
// trimmed); a length byte larger than the capacity is read as the capacity.
inline QByteArrayView textBytes(const char* record, FieldPlace place)
{
    return QByteArrayView(record + place.offset + 1, qMin(int(uchar(record[place.offset])), place.capacity));
}

// Writes the trimmed, encoded and cut text at `offset`; the bytes after the text are zeroed.
void write(char* record, int offset, int capacity, const QString& text);

} // namespace FieldCodec
