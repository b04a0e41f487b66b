// The end-to-end scripts' view of the data files, through the archive code rather than through
// byte offsets of their own; and the other workstation of their scenarios.
//
//     archive_text cards <folder>              every card as JSON, its fields by name
//     archive_text history <folder>            every history record as JSON
//     archive_text set <folder> <position> Field=Value...
//                                              rewrites fields of one card, as another desk would

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

template <class Record, class Visit> void forEachCardField(Record& c, Visit&& visit)
{
    const std::pair<const char*, decltype(&c.Codice)> fields[] = {
        {"Scheda", &c.Scheda},
        {"Codice", &c.Codice},
        {"Tipo", &c.Tipo},
        {"Utilizzo", &c.Utilizzo},
        {"Stato", &c.Stato},
        {"Duplicati", &c.Duplicati},
        {"Luogo", &c.Luogo},
        {"Responsabile", &c.Responsabile},
        {"Recapiti", &c.Recapiti},
        {"Persone", &c.Persone},
        {"Note", &c.Note},
        {"Smarrita", &c.Smarrita},
        {"GiornoRit", &c.GiornoRit},
        {"MeseRit", &c.MeseRit},
        {"AnnoRit", &c.AnnoRit},
        {"DataRit", &c.DataRit},
        {"OreRit", &c.OreRit},
        {"MinutiRit", &c.MinutiRit},
        {"OraRit", &c.OraRit},
        {"GiornoRic", &c.GiornoRic},
        {"MeseRic", &c.MeseRic},
        {"AnnoRic", &c.AnnoRic},
        {"DataRic", &c.DataRic},
        {"OreRic", &c.OreRic},
        {"MinutiRic", &c.MinutiRic},
        {"OraRic", &c.OraRic},
        {"PersonaRit", &c.PersonaRit},
        {"PersonaRic", &c.PersonaRic},
        {"File01", &c.File01},
        {"File02", &c.File02},
        {"File03", &c.File03},
        {"Desc01", &c.Desc01},
        {"Desc02", &c.Desc02},
        {"Desc03", &c.Desc03},
    };
    for (const auto& [name, value] : fields)
        visit(QLatin1StringView(name), *value);
}

QJsonObject cardObject(qint64 position, const PassRecord& c)
{
    QJsonObject o{{u"position"_s, position}};
    forEachCardField(c, [&](QLatin1StringView name, const QString& value) { o.insert(name, value); });
    return o;
}

int setFields(const QString& folder, qint64 position, const QStringList& assignments)
{
    return withCardFile(folder,
                        [&](CardFile& file) {
                            std::optional<PassRecord> card = file.readAt(position);
                            if (!card)
                                return false;
                            for (const QString& a : assignments) {
                                const qsizetype eq = a.indexOf(u'=');
                                bool found = false;
                                forEachCardField(*card, [&](QLatin1StringView name, QString& value) {
                                    if (eq > 0 && a.first(eq) == name) {
                                        value = a.mid(eq + 1);
                                        found = true;
                                    }
                                });
                                if (!found)
                                    return false;
                            }
                            return file.rewriteAt(position, *card);
                        })
               ? 0
               : 1;
}

QJsonObject historyObject(qint64 position, const HistoryRecord& h)
{
    const std::pair<const char*, const QString*> fields[] = {
        {"Codice", &h.Codice},   {"Tipo", &h.Tipo},       {"Utilizzo", &h.Utilizzo},
        {"Luogo", &h.Luogo},     {"Persone", &h.Persone}, {"PersonaRit", &h.PersonaRit},
        {"DataRit", &h.DataRit}, {"OraRit", &h.OraRit},   {"PersonaRic", &h.PersonaRic},
        {"DataRic", &h.DataRic}, {"OraRic", &h.OraRic},
    };
    QJsonObject o{{u"position"_s, position}};
    for (const auto& [name, value] : fields)
        o.insert(QLatin1StringView(name), *value);
    return o;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool known = (args.size() == 3 && (args[1] == u"cards"_s || args[1] == u"history"_s)) ||
                       (args.size() >= 4 && args[1] == u"set"_s);
    if (!known) {
        std::fputs("usage: archive_text cards|history <folder> | set <folder> <position> Field=Value...\n", stderr);
        return 2;
    }
    const QString folder = QDir(args[2]).absolutePath() + u'/';
    if (args[1] == u"set"_s)
        return setFields(folder, args[3].toLongLong(), args.mid(4));
    QJsonArray records;
    bool ok = true;
    const bool cards = args[1] == u"cards"_s;
    // A missing file is an empty archive; opening would create it.
    if (!QFile::exists(folder + QLatin1StringView(cards ? CardFile::FileName : HistoryFile::FileName))) {
        std::fputs("[]\n", stdout);
        return 0;
    }
    if (cards) {
        CardFile file(folder);
        if (file.open()) {
            ok = file.readInOrder([&](qint64 p, const PassRecord& c) {
                records.append(cardObject(p, c));
                return true;
            });
            file.close();
        }
    } else {
        HistoryFile file(folder);
        if (file.open()) {
            ok = file.readInOrder([&](qint64 p, const HistoryRecord& h) {
                records.append(historyObject(p, h));
                return true;
            });
            file.close();
        }
    }
    std::fputs(QJsonDocument(records).toJson(QJsonDocument::Indented).constData(), stdout);
    return ok ? 0 : 1;
}
