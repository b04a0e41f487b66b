// The spreadsheet writer fed with a grid of arbitrary field bytes, cells overwritten with arbitrary
// texts, arbitrary header and worksheet names and any choice of columns: the document written
// from the grid (field bytes straight into the document) is byte for byte the document written from
// the trimmed texts of the same cells, and it holds no line break.

#include "archives/PackedFields.h"
#include "archives/Win1252.h"
#include "fuzz/FuzzSupport.h"
#include "grids/SpreadsheetDocument.h"
#include "grids/StringGridModel.h"

#include <QBuffer>

namespace {

using Fuzz::check;
using namespace Qt::StringLiterals;

// A record of the grid: fields of up to 15 bytes behind their length bytes, one every 16 bytes.
constexpr int FieldStride = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int cells = in.ConsumeIntegralInRange(1, 4);
    QList<StringGridModel::Column> columns{{u"N."_s, 40}};
    QList<FieldPlace> places;
    for (int c = 0; c < cells; ++c) {
        columns.append({QString::number(c + 1), 40, in.ConsumeBool()});
        // A capacity below what a length byte can say: a damaged length never reaches past it.
        places.append({c * FieldStride, in.ConsumeIntegralInRange(0, FieldStride - 1)});
    }
    const PackedFields fields(places);
    StringGridModel grid(columns);

    // Numbered rows from records of fuzzed bytes, and rows with nothing in them.
    StringGridModel::Rows rows(cells);
    const int records = in.ConsumeIntegralInRange(0, 6);
    for (int r = 0; r < records; ++r) {
        std::vector<char> record(size_t(cells * FieldStride));
        const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(record.size());
        std::copy(bytes.begin(), bytes.end(), record.begin());
        rows.append(r + 1, record.data(), fields);
    }
    rows.appendEmpty(in.ConsumeIntegralInRange(0, 2));
    grid.setRows(std::move(rows));

    // Cells of the editable columns overwritten, as the operator may before an export.
    const int edits = in.ConsumeIntegralInRange(0, 4);
    for (int e = 0; e < edits && grid.rowCount() > 0; ++e) {
        const QModelIndex index =
            grid.index(in.ConsumeIntegralInRange(0, grid.rowCount() - 1), in.ConsumeIntegralInRange(1, cells));
        const QString text = Fuzz::text(in, 20);
        check(grid.setData(index, text) == columns[index.column()].editable);
    }

    // The columns exported, the number column among the others, in any order.
    QList<int> exported;
    QList<Spreadsheet::HeaderCell> headers;
    const int count = in.ConsumeIntegralInRange(1, 5);
    for (int i = 0; i < count; ++i) {
        exported.append(in.ConsumeIntegralInRange(0, cells));
        headers.append({Fuzz::text(in, 8), in.ConsumeIntegral<int>()});
    }
    const QString sheetName = Fuzz::text(in, 12);

    QBuffer fromGrid, fromTexts;
    check(fromGrid.open(QIODevice::WriteOnly) && fromTexts.open(QIODevice::WriteOnly));
    check(Spreadsheet::writeGrid(fromGrid, sheetName, headers, grid, exported));
    check(Spreadsheet::writeDocument(fromTexts, sheetName, headers, grid.rowCount(), [&](qint64 row, int cell) {
        return Win1252::trimmed(grid.cell(int(row), exported[cell])).toString();
    }));
    check(fromGrid.data() == fromTexts.data());
    check(!fromGrid.data().contains('\n') && !fromGrid.data().contains('\r'));
    check(fromGrid.data().count("<tr>") == grid.rowCount() + 1);
    return 0;
}
