#pragma once

// The data files of a test's ProgramFolder: cards written and read through the archive layer, the
// card file written by another implementation, and the bytes of any file as a window left it.

#include "archives/CardFile.h"
#include "shell/AppContext.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace DataFiles {

// Appends the cards in order (creating the card file); false when any of them is not written.
inline bool writeCards(const AppContext& ctx, const QList<PassRecord>& cards)
{
    return withCardFile(ctx.programFolder, [&](CardFile& file) {
        for (const PassRecord& card : cards)
            if (!file.append(card))
                return false;
        return true;
    });
}

// The card at a 1-based position; an empty card when it cannot be read.
inline PassRecord readCard(const AppContext& ctx, qint64 position)
{
    PassRecord out;
    withCardFile(ctx.programFolder, [&](CardFile& file) {
        out = file.readAt(position).value_or(PassRecord());
        return true;
    });
    return out;
}

// The number of cards; -1 when the card file cannot be opened.
inline qint64 cardCount(const AppContext& ctx)
{
    qint64 n = -1;
    withCardFile(ctx.programFolder, [&](CardFile& file) {
        n = file.count();
        return true;
    });
    return n;
}

// The card file written by another implementation (see tests/fixtures/README.md), as the card file.
inline bool copyFixtureCards(const AppContext& ctx)
{
    const QString target = ctx.file(QString::fromLatin1(CardFile::FileName));
    return QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Schedario_Pass.pro"), target) &&
           QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
}

// The whole content of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace DataFiles
