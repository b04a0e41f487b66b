#include "bench/FixtureGenerator.h"

#include "archives/HistoryRecord.h"
#include "archives/PassRecord.h"

#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QStringList FirstNames = {u"Mario"_s,   u"Anna"_s,    u"Luca"_s,   u"Giulia"_s,   u"Niccolò"_s,   u"Sara"_s,
                                u"Paolo"_s,   u"Chiara"_s,  u"Andrea"_s, u"Elena"_s,    u"Francesco"_s, u"Martina"_s,
                                u"Giorgio"_s, u"Alessia"_s, u"Matteo"_s, u"Federica"_s, u"Ilaria"_s,    u"Davide"_s};
const QStringList LastNames = {u"Rossi"_s,   u"Bianchi"_s,  u"Verdi"_s,    u"Colombo"_s, u"Ricci"_s,    u"Gallo"_s,
                               u"Neri"_s,    u"Esposito"_s, u"Romano"_s,   u"Bruno"_s,   u"Conti"_s,    u"De Luca"_s,
                               u"Mancini"_s, u"Costa"_s,    u"Giordano"_s, u"Rizzo"_s,   u"Lombardi"_s, u"Moretti"_s};
const QStringList Types = {u"Badge"_s,
                           u"Tessera"_s,
                           u"Chiave"_s,
                           u"Badge magnetico"_s,
                           u"Tessera RFID"_s,
                           u"Chiave meccanica"_s,
                           u"Telecomando cancello"_s};
const QStringList Uses = {
    u"Ingresso principale"_s, u"Magazzino nord"_s,      u"Archivio storico"_s,      u"Parcheggio"_s,
    u"Sala riunioni"_s,       u"Laboratorio qualità"_s, u"Uffici amministrativi"_s, u"Mensa"_s,
    u"Cancello carraio"_s,    u"Area produzione"_s};
const QStringList Places = {u"Reception"_s,
                            u"Cassetto 2"_s,
                            u"Armadio blindato"_s,
                            u"Bacheca portineria"_s,
                            u"Cassaforte ufficio personale"_s,
                            u"Ufficio sicurezza, primo piano"_s};
const QStringList People = {u"Visitatori"_s,          u"Corrieri"_s,
                            u"Tutti i dipendenti"_s,  u"Ospiti"_s,
                            u"Manutentori esterni"_s, u"Personale delle pulizie"_s,
                            u"Consulenti"_s};
const QStringList Months = {u"Gennaio"_s, u"Febbraio"_s, u"Marzo"_s,     u"Aprile"_s,  u"Maggio"_s,   u"Giugno"_s,
                            u"Luglio"_s,  u"Agosto"_s,   u"Settembre"_s, u"Ottobre"_s, u"Novembre"_s, u"Dicembre"_s};
const QString Filler = u"Si raccomanda la massima cura nella custodia del pass; in caso di smarrimento avvisare "
                       u"subito il responsabile della sicurezza, che provvederà al blocco e alla sostituzione. "
                       u"Annotazioni più lunghe arrivano fino alla capacità del campo, così da riempirlo tutto."_s;

// The capacities of the record fields in file order, to leave the bytes of older texts after
// the new ones as files written over the years hold them. Each record so made is checked to read
// back exactly as written.
constexpr std::array<int, 34> CardCapacities = {5, 20, 50, 50, 250, 250, 250, 250, 250, 250, 250, 2,
                                                2, 10, 4,  10, 2,   2,   5,   2,   10,  4,   10,  2,
                                                2, 5,  50, 50, 250, 250, 250, 250, 250, 250};
constexpr std::array<int, 11> HistoryCapacities = {20, 50, 50, 250, 250, 50, 10, 5, 50, 10, 5};
constexpr int sizeOf(const auto& capacities)
{
    int total = 0;
    for (int c : capacities)
        total += c + 1;
    return total;
}
static_assert(sizeOf(CardCapacities) == PassRecord::Size);
static_assert(sizeOf(HistoryCapacities) == HistoryRecord::Size);

// The length byte and text of every field of `now` written over `before`, whose bytes stay after
// each text.
template <std::size_t N> QByteArray over(QByteArray before, const QByteArray& now, const std::array<int, N>& capacities)
{
    int offset = 0;
    for (int capacity : capacities) {
        const int length = uchar(now[offset]);
        std::memcpy(before.data() + offset, now.constData() + offset, size_t(length) + 1);
        offset += capacity + 1;
    }
    return before;
}

class Gen
{
public:
    explicit Gen(quint32 seed) : m_rng(seed) {}
    int below(int n) { return int(m_rng.bounded(quint32(n))); }
    const QString& pick(const QStringList& list) { return list[below(int(list.size()))]; }
    QString person() { return pick(FirstNames) + u' ' + pick(LastNames); }
    // A text of varied length: empty, short, or up to the capacity.
    QString prose(int capacity)
    {
        const int roll = below(10);
        if (roll < 3)
            return QString();
        const int length = roll == 9 ? capacity : 5 + below(qMax(1, capacity / 3));
        return Filler.left(length);
    }
    // A text from a list, now and then longer, up to the capacity: what operators type.
    QString typed(const QString& text, int capacity)
    {
        if (below(40) != 0)
            return text;
        return QString(text + u", "_s + Filler).left(5 + below(capacity - 4));
    }
    // A pass type as typed over the years: now and then in another letter case.
    QString type()
    {
        const QString& t = pick(Types);
        switch (below(30)) {
        case 0:
            return t.toLower();
        case 1:
            return t.toUpper();
        default:
            return t;
        }
    }
    QString code(int capacity)
    {
        if (below(50) == 0) // a long identifier of a maker's own
            return QString(u"IT-"_s + QString::number(m_rng.generate64())).left(capacity);
        return u"P-"_s + QString::number(100000 + below(900000));
    }
    QDate date() { return QDate(2016, 1, 1).addDays(below(3650)); }
    QString two(int n) { return QString::number(n).rightJustified(2, u'0'); }

private:
    QRandomGenerator m_rng;
};

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

namespace FixtureGenerator {

bool writeCardFile(const QString& path, qint64 cards, quint32 seed)
{
    Gen g(seed);
    QByteArray out;
    out.reserve(cards * PassRecord::Size);
    for (qint64 i = 1; i <= cards; ++i) {
        PassRecord r;
        r.Scheda = PassValues::cardNumber(i);
        r.Codice = g.code(20);
        r.Tipo = g.type();
        r.Utilizzo = g.typed(g.pick(Uses), 50);
        r.Duplicati = g.prose(250);
        r.Luogo = g.typed(g.pick(Places), 250);
        r.Responsabile = g.typed(g.person(), 250);
        r.Recapiti = g.typed(QString(u"int. "_s + QString::number(100 + g.below(900))), 250);
        r.Persone = g.typed(g.pick(People), 250);
        r.Note = g.prose(250);
        // A few lost passes, and on a few old cards a flag left empty (which counts as lost).
        const int lost = g.below(500);
        r.Smarrita = lost < 10 ? PassValues::Si : lost == 10 ? QString() : PassValues::No;
        r.Stato = PassValues::Disponibile;
        bool returned = false;
        if (g.below(10) < 8) { // lent at least once
            const QDate d = g.date();
            const QString hh = g.two(7 + g.below(12)), mm = g.two(g.below(60));
            r.GiornoRit = g.two(d.day());
            r.MeseRit = Months[d.month() - 1];
            r.AnnoRit = QString::number(d.year());
            r.DataRit = d.toString(u"dd/MM/yyyy"_s);
            r.OreRit = hh;
            r.MinutiRit = mm;
            r.OraRit = hh + u':' + mm;
            r.PersonaRit = g.typed(g.person(), 50);
            if (g.below(10) < 2) { // still out
                r.Stato = PassValues::withdrawalState(r.PersonaRit, r.DataRit, r.OraRit);
            } else {
                returned = true;
                const QDate back = d.addDays(g.below(5));
                r.GiornoRic = g.two(back.day());
                r.MeseRic = Months[back.month() - 1];
                r.AnnoRic = QString::number(back.year());
                r.DataRic = back.toString(u"dd/MM/yyyy"_s);
                r.OreRic = g.two(7 + g.below(12));
                r.MinutiRic = g.two(g.below(60));
                r.OraRic = r.OreRic + u':' + r.MinutiRic;
                r.PersonaRic = g.below(3) == 0 ? g.person() : r.PersonaRit;
            }
        }
        if (g.below(20) == 0) {
            r.File01 = u"documento "_s + QString::number(i) + u".pdf"_s;
            r.Desc01 = u"Modulo di consegna firmato"_s;
        }
        const QByteArray bytes = r.encode();
        if (returned) {
            // The return rewrote the card over its withdrawn self: the bytes of the longer state
            // stay after "Disponibile".
            PassRecord withdrawn = r;
            withdrawn.Stato = PassValues::withdrawalState(r.PersonaRit, r.DataRit, r.OraRit);
            const QByteArray record = over(withdrawn.encode(), bytes, CardCapacities);
            if (!(PassRecord::decode(record.constData()) == PassRecord::decode(bytes.constData())))
                return false;
            out.append(record);
        } else {
            out.append(bytes);
        }
    }
    return writeAll(path, out);
}

bool writeHistoryFile(const QString& path, qint64 records, quint32 seed)
{
    Gen g(seed);
    QByteArray out;
    out.reserve(records * HistoryRecord::Size);
    const QDate first(2016, 1, 1);
    for (qint64 i = 0; i < records; ++i) {
        HistoryRecord r;
        r.Codice = g.code(20);
        r.Tipo = g.type();
        r.Utilizzo = g.typed(g.pick(Uses), 50);
        r.Luogo = g.typed(g.pick(Places), 250);
        r.Persone = g.typed(g.pick(People), 250);
        r.PersonaRit = g.typed(g.person(), 50);
        // File order is the order of the returns over ten years; a pass comes back a few days
        // after it went out at most.
        const QDate back = first.addDays(records > 1 ? i * 3650 / records : 0);
        const QDate d = back.addDays(-g.below(5));
        r.DataRit = d.toString(u"dd/MM/yyyy"_s);
        r.OraRit = g.two(7 + g.below(12)) + u':' + g.two(g.below(60));
        r.PersonaRic = g.below(3) == 0 ? g.person() : r.PersonaRit;
        // The summary leaves the return date editable: now and then it holds another text.
        r.DataRic = g.below(1000) == 0 ? u"vedi note"_s : back.toString(u"dd/MM/yyyy"_s);
        r.OraRic = g.two(7 + g.below(12)) + u':' + g.two(g.below(60));
        const QByteArray bytes = r.encode();
        if (g.below(20) == 0) {
            // Bytes left after the texts by whatever wrote the record.
            QByteArray leftovers(HistoryRecord::Size, 0);
            for (qsizetype b = 0; b < leftovers.size(); ++b)
                leftovers[b] = char(Filler.at(b % Filler.size()).unicode() & 0x7F);
            const QByteArray record = over(leftovers, bytes, HistoryCapacities);
            if (!(HistoryRecord::decode(record.constData()) == HistoryRecord::decode(bytes.constData())))
                return false;
            out.append(record);
        } else {
            out.append(bytes);
        }
    }
    return writeAll(path, out);
}

} // namespace FixtureGenerator
