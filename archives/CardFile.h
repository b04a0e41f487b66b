#pragma once

#include "PassRecord.h"
#include "RecordFile.h"

// The card file Schedario_Pass.pro in the ProgramFolder. Positions are 1-based.
class CardFile
{
public:
    static constexpr auto FileName = "Schedario_Pass.pro";

    // `wait`: how a write waits for the lock while another workstation holds it.
    explicit CardFile(const QString& programFolder, LockWait wait = {});

    bool open() { return m_file.open(); }
    void close() { m_file.close(); }
    qint64 count() const { return m_file.count(); }

    std::optional<PassRecord> readAt(qint64 position);
    // Every card from 1 to count with its position; the visitor returns false to stop. The card
    // handed to the visitor is valid during the call only (one record is decoded into again and
    // again); with `fields`, only those fields of it are read and the others are empty.
    bool readInOrder(const std::function<bool(qint64 position, const PassRecord& card)>& visit);
    bool readInOrder(PassRecord::FieldSet fields,
                     const std::function<bool(qint64 position, const PassRecord& card)>& visit);
    bool rewriteAt(qint64 position, const PassRecord& card);
    // Rewrites only if the card now at `position` passes `stillValid` (checked under the lock).
    std::optional<bool> rewriteAtIf(qint64 position, const std::function<bool(const PassRecord& current)>& stillValid,
                                    const PassRecord& card);
    // Rewrites only while the file still holds `asRead` at `position`, the card as it was read when
    // the screen loaded it: a change made there since, from another workstation, is never written
    // over. Every screen that writes a card it has shown uses this one comparison.
    std::optional<bool> rewriteAtIfUnchanged(qint64 position, const PassRecord& asRead, const PassRecord& card);
    // Appends the card with its card number set from its new position; returns the position.
    std::optional<qint64> append(const PassRecord& card);

    RecordFile& raw() { return m_file; }

private:
    RecordFile m_file;
};

// Opens the card file, runs `work`, closes it: the shape of every user action on cards.
// Returns false when opening or the work failed.
bool withCardFile(const QString& programFolder, const std::function<bool(CardFile&)>& work);
// The same for an action that writes: `wait` tells how a write waits for the lock.
bool withCardFile(const QString& programFolder, const LockWait& wait, const std::function<bool(CardFile&)>& work);
