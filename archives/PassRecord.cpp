#include "archives/PassRecord.h"

#include "archives/RecordLayout.h"
#include "archives/Win1252.h"

using namespace Qt::StringLiterals;

namespace {

using P = PassRecord;
constexpr RecordLayout<P, 34> Layout{{{
    {&P::Scheda, 5},      {&P::Codice, 20},     {&P::Tipo, 50},          {&P::Utilizzo, 50},  {&P::Stato, 250},
    {&P::Duplicati, 250}, {&P::Luogo, 250},     {&P::Responsabile, 250}, {&P::Recapiti, 250}, {&P::Persone, 250},
    {&P::Note, 250},      {&P::Smarrita, 2},    {&P::GiornoRit, 2},      {&P::MeseRit, 10},   {&P::AnnoRit, 4},
    {&P::DataRit, 10},    {&P::OreRit, 2},      {&P::MinutiRit, 2},      {&P::OraRit, 5},     {&P::GiornoRic, 2},
    {&P::MeseRic, 10},    {&P::AnnoRic, 4},     {&P::DataRic, 10},       {&P::OreRic, 2},     {&P::MinutiRic, 2},
    {&P::OraRic, 5},      {&P::PersonaRit, 50}, {&P::PersonaRic, 50},    {&P::File01, 250},   {&P::File02, 250},
    {&P::File03, 250},    {&P::Desc01, 250},    {&P::Desc02, 250},       {&P::Desc03, 250},
}}};
static_assert(decltype(Layout)::sizeOf(Layout.fields) == PassRecord::Size);

} // namespace

PassRecord PassRecord::decode(const char* bytes)
{
    return Layout.decode(bytes);
}

PassRecord::FieldSet PassRecord::fieldSet(std::initializer_list<QString PassRecord::*> members)
{
    return Layout.fieldSet(members);
}

void PassRecord::decodeInto(const char* bytes, PassRecord& card, FieldSet fields)
{
    Layout.decodeInto(bytes, card, fields);
}

QByteArray PassRecord::encode() const
{
    return Layout.encode(*this);
}

FieldPlace PassRecord::place(QString PassRecord::*member)
{
    return Layout.place(member);
}

QList<FieldPlace> PassRecord::places(std::initializer_list<QString PassRecord::*> members)
{
    return Layout.places(members);
}

namespace PassValues {

QString withdrawalState(const QString& person, const QString& date, const QString& time)
{
    return u"Ritirato da "_s + Win1252::trimmed(person) + u" in data "_s + Win1252::trimmed(date) + u" alle ore "_s +
           Win1252::trimmed(time);
}

QString cardNumber(qint64 position)
{
    return QString(u"00000"_s + QString::number(position)).right(5);
}

bool isLent(const PassRecord& card)
{
    return Win1252::trimmed(card.Stato) != Disponibile;
}

PassRecord withdrawalUndone(PassRecord card)
{
    card.Stato = Disponibile;
    for (QString PassRecord::*field :
         {&PassRecord::GiornoRit, &PassRecord::MeseRit, &PassRecord::AnnoRit, &PassRecord::DataRit, &PassRecord::OreRit,
          &PassRecord::MinutiRit, &PassRecord::OraRit, &PassRecord::PersonaRit, &PassRecord::GiornoRic,
          &PassRecord::MeseRic, &PassRecord::AnnoRic, &PassRecord::DataRic, &PassRecord::OreRic, &PassRecord::MinutiRic,
          &PassRecord::OraRic, &PassRecord::PersonaRic})
        (card.*field).clear();
    return card;
}

} // namespace PassValues

PassRecord::FieldIs::FieldIs(QString PassRecord::*member, const QString& text)
    : m_place(place(member)),
      // A decoded field is trimmed: a text with blanks around it, or one the code page lacks, is
      // never what a field holds.
      m_possible(Win1252::representable(text) && Win1252::trimmed(text).size() == text.size()),
      m_text(Win1252::encode(text))
{
}

bool PassRecord::FieldIs::operator()(const char* bytes) const
{
    return m_possible && Win1252::trimmedBytes(FieldCodec::textBytes(bytes, m_place)) == QByteArrayView(m_text);
}
