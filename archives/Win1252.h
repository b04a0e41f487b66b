#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Conversion between screen text and the single-byte Windows-1252 text of the record fields.
namespace Win1252 {

// Removes leading and trailing characters with a code of 32 or below.
QStringView trimmed(QStringView text);

// Trims, encodes (best-fit substitute or "?" for a character the code page lacks) and keeps
// the first `capacity` bytes. A negative capacity keeps everything.
QByteArray encode(QStringView text, int capacity = -1);

// Decodes `length` bytes and trims the result.
QString decode(const char* bytes, int length);
// The same into `out`, whose storage is reused when it is its own and large enough: a scan that
// decodes field after field into the same texts allocates nothing once they have grown.
void decodeInto(QString& out, const char* bytes, int length);

// The bytes without the blanks around them (bytes of 32 or below): decoded, exactly the
// characters that decode() keeps.
QByteArrayView trimmedBytes(QByteArrayView bytes);
// Decodes `bytes` at `out`, which has room for bytes.size() characters, without trimming: for a
// reader that writes texts straight where it keeps them.
void decodeTo(QChar* out, QByteArrayView bytes);
// The character of one byte.
char16_t decoded(char byte);

// True when every character of the text has its own code in the code page (no substitution).
bool representable(QStringView text);

} // namespace Win1252
