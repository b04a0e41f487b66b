#include "archives/Crypt.h"

namespace {

constexpr quint16 StartKey = 3301;
constexpr quint16 MultKey = 40503;
constexpr quint16 AddKey = 27091;

// The key advances with the scrambled byte, so decoding retraces the keys of encoding.
quint16 nextKey(quint16 key, quint8 scrambled)
{
    return quint16((quint32(scrambled) + key) * MultKey + AddKey);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

namespace Crypt {

QString encode(const QString& password)
{
    static constexpr char16_t Digits[] = u"0123456789ABCDEF";
    QString out;
    out.reserve(password.size() * 2);
    quint16 key = StartKey;
    for (QChar ch : password) {
        const quint8 c = quint8(ch.unicode() & 0xFF) ^ quint8(key >> 8);
        out.append(QChar(Digits[c >> 4]));
        out.append(QChar(Digits[c & 0xF]));
        key = nextKey(key, c);
    }
    return out;
}

std::optional<QString> decode(const QString& scrambled)
{
    const qsizetype pairs = scrambled.size() / 2;
    QString out;
    out.reserve(pairs);
    quint16 key = StartKey;
    for (qsizetype i = 0; i < pairs; ++i) {
        const int hi = hexDigit(scrambled[2 * i]);
        const int lo = hexDigit(scrambled[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        const quint8 c = quint8(hi * 16 + lo);
        out.append(QChar(char16_t(c ^ quint8(key >> 8))));
        key = nextKey(key, c);
    }
    return out;
}

} // namespace Crypt
