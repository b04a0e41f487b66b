#pragma once

#include "archives/FieldCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <initializer_list>

// One pass card: 34 length-prefixed Windows-1252 text fields, 3581 bytes in all.
struct PassRecord
{
    static constexpr int Size = 3581;

    QString Scheda, Codice, Tipo, Utilizzo, Stato, Duplicati, Luogo, Responsabile, Recapiti, Persone, Note;
    QString Smarrita;
    QString GiornoRit, MeseRit, AnnoRit, DataRit, OreRit, MinutiRit, OraRit;
    QString GiornoRic, MeseRic, AnnoRic, DataRic, OreRic, MinutiRic, OraRic;
    QString PersonaRit, PersonaRic;
    QString File01, File02, File03, Desc01, Desc02, Desc03;

    // Decodes exactly Size bytes.
    static PassRecord decode(const char* bytes);
    // A set of fields, for a decoding that needs only those.
    using FieldSet = quint64;
    static constexpr FieldSet AllFields = ~FieldSet(0);
    static FieldSet fieldSet(std::initializer_list<QString PassRecord::*> members);
    // Decodes the fields of `fields` into `card`, reusing the storage of its texts, and leaves the
    // others as they are: a scan decodes every card into one record without allocating anew.
    static void decodeInto(const char* bytes, PassRecord& card, FieldSet fields = AllFields);
    // Encodes into exactly Size bytes (texts trimmed, converted and cut to their capacities).
    QByteArray encode() const;

    // Where a field lies in the record, from the layout table: for the readers that take fields
    // straight from the record bytes (PackedFields, a date compared without a text made).
    static FieldPlace place(QString PassRecord::*member);
    // The places of `members`, in their order.
    static QList<FieldPlace> places(std::initializer_list<QString PassRecord::*> members);

    bool operator==(const PassRecord&) const = default;

    // A test of one field of the record bytes against a text, without decoding: whether the
    // field, trimmed, is the text, as decode(bytes).*member == text would tell. A scan tests a
    // field of every card.
    class FieldIs
    {
    public:
        FieldIs(QString PassRecord::*member, const QString& text);
        bool operator()(const char* bytes) const;

    private:
        FieldPlace m_place;
        bool m_possible; // false when the code page cannot hold the text exactly
        QByteArray m_text;
    };
};

// Fixed values of the card fields.
namespace PassValues {
inline const QString Disponibile = QStringLiteral("Disponibile");
inline const QString Si = QStringLiteral("S\u00ec");
inline const QString No = QStringLiteral("No");

// "Ritirato da <person> in data <date> alle ore <time>", each part trimmed.
QString withdrawalState(const QString& person, const QString& date, const QString& time);
// The five rightmost characters of "00000" followed by the position.
QString cardNumber(qint64 position);
// Whether the card is out: its state is anything but "Disponibile".
bool isLent(const PassRecord& card);
// The card with its withdrawal undone: available, the withdrawal and return fields (dates, times,
// persons) empty, every other field as it is.
PassRecord withdrawalUndone(PassRecord card);
} // namespace PassValues
