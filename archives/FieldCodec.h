#pragma once

#include <QByteArray>
#include <QString>

// A text field of capacity N occupies N + 1 bytes: a length byte L, then N bytes of which the
// first L are the text. Shared by every record layout.
namespace FieldCodec {

// Reads the field at `offset`; a length byte larger than the capacity is read as the capacity.
QString read(const char* record, int offset, int capacity);
// The same into `out`, reusing its storage (Win1252::decodeInto).
void readInto(QString& out, const char* record, int offset, int capacity);

// Writes the trimmed, encoded and cut text at `offset`; the bytes after the text are zeroed.
void write(char* record, int offset, int capacity, const QString& text);

} // namespace FieldCodec
