#include "archives/HistoryRecord.h"

#include "archives/RecordLayout.h"

namespace {

using H = HistoryRecord;
constexpr RecordLayout<H, 11> Layout{{{
    {&H::Codice, 20},
    {&H::Tipo, 50},
    {&H::Utilizzo, 50},
    {&H::Luogo, 250},
    {&H::Persone, 250},
    {&H::PersonaRit, 50},
    {&H::DataRit, 10},
    {&H::OraRit, 5},
    {&H::PersonaRic, 50},
    {&H::DataRic, 10},
    {&H::OraRic, 5},
}}};
static_assert(decltype(Layout)::sizeOf(Layout.fields) == HistoryRecord::Size);

} // namespace

HistoryRecord HistoryRecord::decode(const char* bytes)
{
    return Layout.decode(bytes);
}

void HistoryRecord::decodeInto(const char* bytes, HistoryRecord& record)
{
    Layout.decodeInto(bytes, record);
}

QByteArray HistoryRecord::encode() const
{
    return Layout.encode(*this);
}

FieldPlace HistoryRecord::place(QString HistoryRecord::*member)
{
    return Layout.place(member);
}

QList<FieldPlace> HistoryRecord::places(std::initializer_list<QString HistoryRecord::*> members)
{
    return Layout.places(members);
}
