#include "bench/FixtureGenerator.h"

#include "archives/HistoryRecord.h"
#include "archives/PassRecord.h"

#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

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
        r.Codice = QString(u"P-"_s + QString::number(100000 + g.below(900000)));
        r.Tipo = g.pick(Types);
        r.Utilizzo = g.pick(Uses);
        r.Duplicati = g.prose(250);
        r.Luogo = g.pick(Places);
        r.Responsabile = g.person();
        r.Recapiti = QString(u"int. "_s + QString::number(100 + g.below(900)));
        r.Persone = g.pick(People);
        r.Note = g.prose(250);
        r.Smarrita = g.below(50) == 0 ? PassValues::Si : PassValues::No;
        r.Stato = PassValues::Disponibile;
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
            r.PersonaRit = g.person();
            if (g.below(10) < 2) { // still out
                r.Stato = PassValues::withdrawalState(r.PersonaRit, r.DataRit, r.OraRit);
            } else {
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
        out.append(r.encode());
    }
    return writeAll(path, out);
}

bool writeHistoryFile(const QString& path, qint64 records, quint32 seed)
{
    Gen g(seed);
    QByteArray out;
    out.reserve(records * HistoryRecord::Size);
    for (qint64 i = 0; i < records; ++i) {
        HistoryRecord r;
        r.Codice = QString(u"P-"_s + QString::number(100000 + g.below(900000)));
        r.Tipo = g.pick(Types);
        r.Utilizzo = g.pick(Uses);
        r.Luogo = g.pick(Places);
        r.Persone = g.pick(People);
        r.PersonaRit = g.person();
        const QDate d = g.date();
        r.DataRit = d.toString(u"dd/MM/yyyy"_s);
        r.OraRit = g.two(7 + g.below(12)) + u':' + g.two(g.below(60));
        r.PersonaRic = g.below(3) == 0 ? g.person() : r.PersonaRit;
        r.DataRic = d.addDays(g.below(5)).toString(u"dd/MM/yyyy"_s);
        r.OraRic = g.two(7 + g.below(12)) + u':' + g.two(g.below(60));
        out.append(r.encode());
    }
    return writeAll(path, out);
}

} // namespace FixtureGenerator
