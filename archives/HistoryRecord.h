#pragma once

#include "archives/FieldCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <initializer_list>

// One completed withdrawal-and-return cycle: eleven text fields, 761 bytes in all.
struct HistoryRecord
{
    static constexpr int Size = 761;

    QString Codice, Tipo, Utilizzo, Luogo, Persone, PersonaRit, DataRit, OraRit, PersonaRic, DataRic, OraRic;

    static HistoryRecord decode(const char* bytes);
    // Decodes into `record`, reusing the storage of its texts.
    static void decodeInto(const char* bytes, HistoryRecord& record);
    QByteArray encode() const;

    // Where a field lies in the record, from the layout table (see PassRecord::place).
    static FieldPlace place(QString HistoryRecord::*member);
    // The places of `members`, in their order.
    static QList<FieldPlace> places(std::initializer_list<QString HistoryRecord::*> members);

    bool operator==(const HistoryRecord&) const = default;
};
