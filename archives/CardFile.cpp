#include "archives/CardFile.h"

#include <cstring>

CardFile::CardFile(const QString& programFolder, LockWait wait)
    : m_file(programFolder + QLatin1StringView(FileName), PassRecord::Size, std::move(wait))
{
}

std::optional<PassRecord> CardFile::readAt(qint64 position)
{
    char bytes[PassRecord::Size];
    if (!m_file.readAt(position, bytes))
        return std::nullopt;
    return PassRecord::decode(bytes);
}

bool CardFile::readInOrder(const std::function<bool(qint64, const PassRecord&)>& visit)
{
    return readInOrder(PassRecord::AllFields, visit);
}

bool CardFile::readInOrder(PassRecord::FieldSet fields, const std::function<bool(qint64, const PassRecord&)>& visit)
{
    PassRecord card;
    return m_file.readInOrder([&](qint64 position, const char* bytes) {
        PassRecord::decodeInto(bytes, card, fields);
        return visit(position, card);
    });
}

bool CardFile::rewriteAt(qint64 position, const PassRecord& card)
{
    return m_file.rewriteAt(position, card.encode().constData());
}

std::optional<bool> CardFile::rewriteAtIf(qint64 position, const std::function<bool(const PassRecord&)>& stillValid,
                                          const PassRecord& card)
{
    return m_file.rewriteAtIf(
        position, [&](const char* current) { return stillValid(PassRecord::decode(current)); },
        card.encode().constData());
}

std::optional<bool> CardFile::rewriteAtIfUnchanged(qint64 position, const PassRecord& asRead, const PassRecord& card)
{
    return rewriteAtIf(
        position, [&](const PassRecord& current) { return current == asRead; }, card);
}

std::optional<qint64> CardFile::append(const PassRecord& card)
{
    return m_file.append([&](qint64 position, char* record) {
        PassRecord numbered = card;
        numbered.Scheda = PassValues::cardNumber(position);
        const QByteArray bytes = numbered.encode();
        std::memcpy(record, bytes.constData(), PassRecord::Size);
    });
}

bool withCardFile(const QString& programFolder, const std::function<bool(CardFile&)>& work)
{
    return withCardFile(programFolder, LockWait{}, work);
}

bool withCardFile(const QString& programFolder, const LockWait& wait, const std::function<bool(CardFile&)>& work)
{
    CardFile file(programFolder, wait);
    if (!file.open())
        return false;
    const bool ok = work(file);
    file.close();
    return ok;
}
