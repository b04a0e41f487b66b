#include "archives/Win1252.h"

#include <QChar>
#include <QList>

#include <array>
#include <utility>

namespace {

// Code points of the bytes 0x80 to 0x9F; the five unassigned bytes stand for themselves.
constexpr std::array<char16_t, 32> High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = char16_t(i);
    for (int i = 0; i < 32; ++i)
        t[0x80 + i] = High[i];
    return t;
}
constexpr auto DecodeTable = makeDecodeTable();

// The byte of a code point the code page holds, or -1.
int directByte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (High[i] == cp)
            return 0x80 + i;
    return -1;
}

// Letters and signs with no decomposition whose nearest look-alike the code page holds.
int bestFitByte(char32_t cp)
{
    switch (cp) {
    case 0x0141:
        return 'L'; // Ł
    case 0x0142:
        return 'l'; // ł
    case 0x0110:
        return 'D'; // Đ
    case 0x0111:
        return 'd'; // đ
    case 0x0131:
        return 'i'; // ı
    case 0x0126:
        return 'H'; // Ħ
    case 0x0127:
        return 'h'; // ħ
    case 0x0166:
        return 'T'; // Ŧ
    case 0x0167:
        return 't'; // ŧ
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2212:
        return '-';
    case 0x2032:
        return '\'';
    case 0x2033:
        return '"';
    case 0x00A0:
        return 0xA0;
    default:
        break;
    }
    // A base letter followed only by combining marks: keep the base.
    const QString decomposed = QChar::decomposition(cp);
    if (!decomposed.isEmpty() && QChar::decompositionTag(cp) == QChar::Canonical) {
        const auto ucs = decomposed.toUcs4();
        bool marksOnly = true;
        for (int i = 1; i < ucs.size(); ++i)
            marksOnly = marksOnly && QChar::category(ucs[i]) == QChar::Mark_NonSpacing;
        if (marksOnly) {
            const int base = directByte(ucs[0]);
            if (base >= 0)
                return base;
            return bestFitByte(ucs[0]);
        }
    }
    return -1;
}

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

namespace Win1252 {

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QByteArray encode(QStringView text, int capacity)
{
    const QStringView t = trimmed(text);
    QByteArray out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size() && (capacity < 0 || out.size() < capacity); ++i) {
        char32_t cp = t[i].unicode();
        if (t[i].isHighSurrogate() && i + 1 < t.size() && t[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(t[i], t[i + 1]);
            ++i;
        }
        int b = directByte(cp);
        if (b < 0)
            b = bestFitByte(cp);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

namespace {

// The bytes that remain after trimming: trimming on bytes is exact, since only bytes below 0x21
// decode to characters of code <= 32.
std::pair<const char*, const char*> trimmedBytes(const char* bytes, int length)
{
    const char* begin = bytes;
    const char* end = bytes + length;
    while (begin < end && uchar(*begin) <= 32)
        ++begin;
    while (end > begin && uchar(end[-1]) <= 32)
        --end;
    return {begin, end};
}

void decodeTo(QChar* out, const char* begin, const char* end)
{
    for (const char* b = begin; b < end; ++b)
        *out++ = QChar(DecodeTable[uchar(*b)]);
}

} // namespace

QByteArrayView trimmedBytes(QByteArrayView bytes)
{
    const auto [begin, end] = trimmedBytes(bytes.data(), int(bytes.size()));
    return QByteArrayView(begin, end - begin);
}

void decodeTo(QChar* out, QByteArrayView bytes)
{
    decodeTo(out, bytes.data(), bytes.data() + bytes.size());
}

char16_t decoded(char byte)
{
    return DecodeTable[uchar(byte)];
}

QString decode(const char* bytes, int length)
{
    const auto [begin, end] = trimmedBytes(bytes, length);
    QString out(end - begin, Qt::Uninitialized);
    decodeTo(out.data(), begin, end);
    return out;
}

void decodeInto(QString& out, const char* bytes, int length)
{
    const auto [begin, end] = trimmedBytes(bytes, length);
    // Keeps the storage when it is unshared and large enough (an empty text comes out empty, not
    // null, as from a fresh decoding).
    out.resize(end - begin);
    decodeTo(out.data(), begin, end);
}

bool representable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSurrogate() || directByte(text[i].unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace Win1252
