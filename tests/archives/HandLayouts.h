#pragma once

#include "archives/HistoryRecord.h"
#include "archives/PassRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// The record layouts typed field by field from the record tables, independently of the layout
// tables in the archives library: name, member, offset of the length byte, capacity.
template <typename Record> struct HandField
{
    const char* name;
    QString Record::*member;
    int offset;
    int capacity;
};

using P = PassRecord;
inline constexpr std::array<HandField<P>, 34> PassFields{{
    {"Scheda", &P::Scheda, 0, 5},
    {"Codice", &P::Codice, 6, 20},
    {"Tipo", &P::Tipo, 27, 50},
    {"Utilizzo", &P::Utilizzo, 78, 50},
    {"Stato", &P::Stato, 129, 250},
    {"Duplicati", &P::Duplicati, 380, 250},
    {"Luogo", &P::Luogo, 631, 250},
    {"Responsabile", &P::Responsabile, 882, 250},
    {"Recapiti", &P::Recapiti, 1133, 250},
    {"Persone", &P::Persone, 1384, 250},
    {"Note", &P::Note, 1635, 250},
    {"Smarrita", &P::Smarrita, 1886, 2},
    {"GiornoRit", &P::GiornoRit, 1889, 2},
    {"MeseRit", &P::MeseRit, 1892, 10},
    {"AnnoRit", &P::AnnoRit, 1903, 4},
    {"DataRit", &P::DataRit, 1908, 10},
    {"OreRit", &P::OreRit, 1919, 2},
    {"MinutiRit", &P::MinutiRit, 1922, 2},
    {"OraRit", &P::OraRit, 1925, 5},
    {"GiornoRic", &P::GiornoRic, 1931, 2},
    {"MeseRic", &P::MeseRic, 1934, 10},
    {"AnnoRic", &P::AnnoRic, 1945, 4},
    {"DataRic", &P::DataRic, 1950, 10},
    {"OreRic", &P::OreRic, 1961, 2},
    {"MinutiRic", &P::MinutiRic, 1964, 2},
    {"OraRic", &P::OraRic, 1967, 5},
    {"PersonaRit", &P::PersonaRit, 1973, 50},
    {"PersonaRic", &P::PersonaRic, 2024, 50},
    {"File01", &P::File01, 2075, 250},
    {"File02", &P::File02, 2326, 250},
    {"File03", &P::File03, 2577, 250},
    {"Desc01", &P::Desc01, 2828, 250},
    {"Desc02", &P::Desc02, 3079, 250},
    {"Desc03", &P::Desc03, 3330, 250},
}};
inline constexpr int PassBytes = 3581;

using H = HistoryRecord;
inline constexpr std::array<HandField<H>, 11> HistoryFields{{
    {"Codice", &H::Codice, 0, 20},
    {"Tipo", &H::Tipo, 21, 50},
    {"Utilizzo", &H::Utilizzo, 72, 50},
    {"Luogo", &H::Luogo, 123, 250},
    {"Persone", &H::Persone, 374, 250},
    {"PersonaRit", &H::PersonaRit, 625, 50},
    {"DataRit", &H::DataRit, 676, 10},
    {"OraRit", &H::OraRit, 687, 5},
    {"PersonaRic", &H::PersonaRic, 693, 50},
    {"DataRic", &H::DataRic, 744, 10},
    {"OraRic", &H::OraRic, 755, 5},
}};
inline constexpr int HistoryBytes = 761;

template <typename Record> constexpr const auto& fieldsOf()
{
    if constexpr (std::is_same_v<Record, PassRecord>)
        return PassFields;
    else
        return HistoryFields;
}

template <typename Record> constexpr int bytesOf()
{
    return std::is_same_v<Record, PassRecord> ? PassBytes : HistoryBytes;
}

// The hand-typed entry of a field.
template <typename Record> constexpr const HandField<Record>& handFieldOf(QString Record::*member)
{
    for (const auto& f : fieldsOf<Record>())
        if (f.member == member)
            return f;
    throw "no field of the record";
}

// The fields that a withdrawal sets and its undo empties again: the state, the withdrawal and
// return groups and both persons.
inline const QList<QString PassRecord::*> OperationFields = {
    &P::Stato,     &P::GiornoRit, &P::MeseRit,   &P::AnnoRit,    &P::DataRit,    &P::OreRit,
    &P::MinutiRit, &P::OraRit,    &P::GiornoRic, &P::MeseRic,    &P::AnnoRic,    &P::DataRic,
    &P::OreRic,    &P::MinutiRic, &P::OraRic,    &P::PersonaRit, &P::PersonaRic,
};

// The meaningful bytes of a card record (each field's length byte and text, placed by the
// hand-typed layout), the operation fields left out: what an operation, or its undo, must leave
// exactly as it was.
inline QByteArray otherFieldBytes(const QByteArray& record)
{
    QByteArray out;
    for (const auto& field : PassFields) {
        if (OperationFields.contains(field.member))
            continue;
        const int length = qMin(int(uchar(record[field.offset])), field.capacity);
        out += record.mid(field.offset, 1 + length);
    }
    return out;
}
