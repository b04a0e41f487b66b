// Card records into the rows of the export grid, fed with arbitrary bytes as the card file: the
// export window fills its grid from the file, and every cell shows the text that the record
// layer decodes for that field of that card, with the field's bytes kept as the file holds them.

#include "archives/CardFile.h"
#include "archives/Win1252.h"
#include "fuzz/FuzzSupport.h"
#include "grids/StringGridModel.h"
#include "registry/ExpChiavi.h"
#include "tests/support/ScriptedSeams.h"

namespace {

using Fuzz::check;

// The card fields of grid columns 1 to 10.
const QString PassRecord::*const Columns[] = {
    &PassRecord::Codice, &PassRecord::Tipo,         &PassRecord::Utilizzo, &PassRecord::Stato,   &PassRecord::Duplicati,
    &PassRecord::Luogo,  &PassRecord::Responsabile, &PassRecord::Recapiti, &PassRecord::Persone, &PassRecord::Note};

TfrmExpChiavi& window()
{
    static ScriptedMessages messages;
    static AppContext ctx = [] {
        AppContext c;
        c.programFolder = Fuzz::folder();
        c.messages = &messages;
        return c;
    }();
    static TfrmExpChiavi* w = new TfrmExpChiavi(ctx);
    return *w;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startApplication();
    window();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::writeFile(CardFile::FileName, data, size);
    TfrmExpChiavi& w = window();
    w.FormShow();
    const StringGridModel& grid = *w.grid();
    const qsizetype cards = qsizetype(size) / PassRecord::Size;
    check(grid.rowCount() == cards);
    check(grid.columnCount() == 1 + int(std::size(Columns)));
    for (int row = 0; row < cards; ++row) {
        const PassRecord card = PassRecord::decode(reinterpret_cast<const char*>(data) + row * PassRecord::Size);
        check(grid.cell(row, 0) == QString::number(row + 1));
        check(!grid.fieldBytes(row, 0));
        for (int column = 1; column < grid.columnCount(); ++column) {
            const QString& expected = card.*Columns[column - 1];
            check(grid.cell(row, column) == expected);
            const std::optional<QByteArrayView> bytes = grid.fieldBytes(row, column);
            check(bytes.has_value() && *bytes == Win1252::encode(expected));
        }
    }
    return 0;
}
