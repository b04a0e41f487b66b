#pragma once

#include <QByteArray>
#include <QString>

// One completed withdrawal-and-return cycle: eleven text fields, 761 bytes in all.
struct HistoryRecord
{
    static constexpr int Size = 761;
    static constexpr int DataRitOffset = 676;
    static constexpr int DataRitCapacity = 10;

    QString Codice, Tipo, Utilizzo, Luogo, Persone, PersonaRit, DataRit, OraRit, PersonaRic, DataRic, OraRic;

    static HistoryRecord decode(const char* bytes);
    // Decodes into `record`, reusing the storage of its texts.
    static void decodeInto(const char* bytes, HistoryRecord& record);
    QByteArray encode() const;

    bool operator==(const HistoryRecord&) const = default;
};
