// The history query over a whole history file of arbitrary bytes, for a period of arbitrary
// texts or one taken from the file: exactly the records whose withdrawal date (as the record
// layer decodes it) is a date of the period come out, in file order and numbered 1, 2, 3 ...;
// the others are skipped when their date is no date. Their grid rows show the decoded fields,
// and sorted by type they stay the same rows, ordered by the collator, equal types in file order.

#include "archives/HistoryFile.h"
#include "archives/PackedFields.h"
#include "fuzz/FuzzSupport.h"
#include "grids/StringGridModel.h"
#include "history/HistoryQuery.h"
#include "shell/Dates.h"

#include <QCollator>

#include <cstring>

namespace {

using Fuzz::check;
using namespace Qt::StringLiterals;

// The record fields of the grid columns 1 to 11.
const QString HistoryRecord::*const Columns[] = {
    &HistoryRecord::Codice,     &HistoryRecord::Tipo,       &HistoryRecord::Utilizzo, &HistoryRecord::Luogo,
    &HistoryRecord::Persone,    &HistoryRecord::PersonaRit, &HistoryRecord::DataRit,  &HistoryRecord::OraRit,
    &HistoryRecord::PersonaRic, &HistoryRecord::DataRic,    &HistoryRecord::OraRic};
constexpr int TipoColumn = 2;

QList<StringGridModel::Column> gridColumns()
{
    QList<StringGridModel::Column> columns{{u"N."_s, 40}};
    for (size_t i = 0; i < std::size(Columns); ++i)
        columns.append({QString::number(i + 1), 40});
    return columns;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const uint8_t mode = in.ConsumeIntegral<uint8_t>();
    const QString startText = Fuzz::text(in, 12);
    const QString endText = Fuzz::text(in, 12);
    const std::vector<uint8_t> file = in.ConsumeRemainingBytes<uint8_t>();
    Fuzz::writeFile(HistoryFile::FileName, file.data(), file.size());
    const char* bytes = reinterpret_cast<const char*>(file.data());
    const qsizetype count = qsizetype(file.size()) / HistoryRecord::Size;

    // The period: the fuzzer's texts, every date there is, or the withdrawal dates of two records.
    std::optional<QDate> start = Dates::parseDate(startText), end = Dates::parseDate(endText);
    if (mode % 3 == 1) {
        start = QDate(1, 1, 1);
        end = QDate(9999, 12, 31);
    } else if (mode % 3 == 2 && count > 0) {
        start = Dates::parseDate(HistoryRecord::decode(bytes + (mode / 3) % count * HistoryRecord::Size).DataRit);
        end = Dates::parseDate(HistoryRecord::decode(bytes + (mode / 7) % count * HistoryRecord::Size).DataRit);
    }

    // What the query must give, from the decoded records.
    QList<qsizetype> expected;
    qint64 skipped = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const std::optional<QDate> withdrawn =
            Dates::parseDate(HistoryRecord::decode(bytes + i * HistoryRecord::Size).DataRit);
        if (!withdrawn)
            ++skipped;
        else if (start && end && *start <= *withdrawn && *withdrawn <= *end)
            expected.append(i);
    }

    StringGridModel::Rows rows(int(std::size(Columns)));
    QList<qsizetype> got;
    const auto match = [&](qint64 sequence, const char* record) {
        check(sequence == got.size() + 1);
        // The record handed over is one of the file's, as the file holds it.
        const qsizetype i = expected.value(got.size(), -1);
        check(i >= 0 && std::memcmp(record, bytes + i * HistoryRecord::Size, HistoryRecord::Size) == 0);
        got.append(i);
        rows.append(sequence, record, HistoryQuery::gridFields());
    };
    const HistoryQuery::Result result =
        mode % 3 == 0 ? HistoryQuery::select(Fuzz::folder(), startText, endText, match)
                      : HistoryQuery::select(Fuzz::folder(), start.value_or(QDate()), end.value_or(QDate()), match);
    check(result.outcome == (count == 0 ? HistoryQuery::Result::NoRecords : HistoryQuery::Result::Complete));
    check(got == expected);
    check(result.matches == expected.size());
    check(result.skipped == (count == 0 ? 0 : skipped));

    // The grid rows of the matches, sorted by type as the history view sorts them.
    QCollator byType;
    byType.setCaseSensitivity(Qt::CaseInsensitive);
    rows.sortByColumn(TipoColumn, byType);
    StringGridModel grid(gridColumns());
    grid.setRows(std::move(rows));
    check(grid.rowCount() == expected.size());
    QList<bool> seen(expected.size(), false);
    for (int row = 0; row < grid.rowCount(); ++row) {
        bool ok = false;
        const qsizetype sequence = grid.cell(row, 0).toLongLong(&ok);
        check(ok && sequence >= 1 && sequence <= expected.size() && !seen[sequence - 1]);
        seen[sequence - 1] = true;
        const HistoryRecord record = HistoryRecord::decode(bytes + expected[sequence - 1] * HistoryRecord::Size);
        for (int column = 1; column < grid.columnCount(); ++column)
            check(grid.cell(row, column) == record.*Columns[column - 1]);
        if (row > 0) {
            const int order = byType.compare(grid.cell(row - 1, TipoColumn), grid.cell(row, TipoColumn));
            check(order < 0 || (order == 0 && grid.cell(row - 1, 0).toLongLong() < sequence));
        }
    }
    return 0;
}
