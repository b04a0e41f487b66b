#pragma once

#include "HistoryRecord.h"
#include "RecordFile.h"

// The history file Storico_Operazioni.pro in the ProgramFolder: append-only.
class HistoryFile
{
public:
    static constexpr auto FileName = "Storico_Operazioni.pro";

    // `wait`: how an append waits for the lock while another workstation holds it.
    explicit HistoryFile(const QString& programFolder, LockWait wait = {});

    bool open() { return m_file.open(); }
    void close() { m_file.close(); }
    qint64 count() const { return m_file.count(); }

    // Every record in file order; the record handed to the visitor is valid during the call only.
    bool readInOrder(const std::function<bool(qint64 position, const HistoryRecord& record)>& visit);
    std::optional<qint64> append(const HistoryRecord& record);

    RecordFile& raw() { return m_file; }

private:
    RecordFile m_file;
};
