#pragma once

// Small helpers shared by the tests of the withdrawal and return screens: cards written by hand,
// the pick as the list window makes it, and the modal companions answered from inside their loop.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"
#include "operations/OperationScreen.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace OperationFixture {

using namespace Qt::StringLiterals;
using namespace DataFiles;

inline PassRecord availableCard(const QString& codice)
{
    PassRecord c;
    c.Codice = codice;
    c.Tipo = u"Badge"_s;
    c.Utilizzo = u"Ingresso principale"_s;
    c.Stato = PassValues::Disponibile;
    c.Luogo = u"Reception"_s;
    c.Responsabile = u"Ugo Neri"_s;
    c.Recapiti = u"int. 31"_s;
    c.Persone = u"Visitatori"_s;
    c.Note = u"Cauzione 5 €"_s;
    c.Smarrita = PassValues::No;
    return c;
}

// A card that is out: withdrawn by Anna Bianchi on 03/11/2024 at 09:05.
inline PassRecord lentCard(const QString& codice)
{
    PassRecord c = availableCard(codice);
    c.Stato = PassValues::withdrawalState(u"Anna Bianchi"_s, u"03/11/2024"_s, u"09:05"_s);
    c.GiornoRit = u"03"_s;
    c.MeseRit = u"Novembre"_s;
    c.AnnoRit = u"2024"_s;
    c.DataRit = u"03/11/2024"_s;
    c.OreRit = u"09"_s;
    c.MinutiRit = u"05"_s;
    c.OraRit = u"09:05"_s;
    c.PersonaRit = u"Anna Bianchi"_s;
    c.File01 = u"piantina.pdf"_s;
    c.Desc01 = u"Pianta del magazzino"_s;
    return c;
}

// Puts a folder where the data file `name` was (kept aside as "<name>.aside"), so that opening it
// fails whoever runs the test: permission bits do not stop root. `restore` puts the file back.
inline bool replaceByFolder(const AppContext& ctx, const QString& name)
{
    return (!QFile::exists(ctx.file(name)) || QFile::rename(ctx.file(name), ctx.file(name + u".aside"_s))) &&
           QDir(ctx.programFolder).mkdir(name);
}
inline bool restore(const AppContext& ctx, const QString& name)
{
    return QDir(ctx.programFolder).rmdir(name) && QFile::rename(ctx.file(name + u".aside"_s), ctx.file(name));
}

inline QList<HistoryRecord> historyRecords(const AppContext& ctx)
{
    QList<HistoryRecord> out;
    HistoryFile file(ctx.programFolder);
    if (QFile::exists(ctx.file(QString::fromLatin1(HistoryFile::FileName))) && file.open())
        file.readInOrder([&](qint64, const HistoryRecord& r) {
            out << r;
            return true;
        });
    return out;
}

// The pick as the list window makes it: the card read again at its position, then the now action.
inline void pick(OperationScreen& screen, const AppContext& ctx, qint64 position)
{
    screen.receivePass(position, readCard(ctx, position));
    screen.ownBlock()->nowAction();
}

// Runs `answer` on the first window of type T that shows up while `action` runs (a modal companion
// inside its own event loop). Returns whether one showed up.
template <class T> bool whileShown(const std::function<void(T&)>& answer, const std::function<void()>& action)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<T*>(w); window && window->isVisible() && !seen) {
                seen = true;
                answer(*window);
                return;
            }
        }
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

} // namespace OperationFixture
