// Pass lines of cards with arbitrary texts, their list order and the find of the lists: each line
// is its fields padded or cut to their columns; the list holds the lines in the order of their
// keys (ASCII letters in upper case, compared code by code, a beginning before the longer line,
// equal lines in file order), each with the position of its own card; and a find selects the line
// the find rule names.

#include "fuzz/FuzzSupport.h"
#include "lists/PassLine.h"
#include "lists/PassLineModel.h"

#include <algorithm>

namespace {

using Fuzz::check;
using namespace Qt::StringLiterals;

bool keyBefore(const QString& a, const QString& b)
{
    const QString ka = PassLine::orderKey(a), kb = PassLine::orderKey(b);
    return std::lexicographical_compare(ka.utf16(), ka.utf16() + ka.size(), kb.utf16(), kb.utf16() + kb.size());
}

// The row a find must select: a new text looks from the first line on, the same text from the line
// after the selected one round to the selected one; nothing found keeps the selection.
int expectedFind(const QStringList& lines, int selectedRow, const QString& typed, const QString& remembered)
{
    const int count = int(lines.size());
    const int selected = selectedRow >= 0 && selectedRow < count ? selectedRow : 0;
    const QString t = Fuzz::asciiLower(typed);
    const int first = t == remembered ? selected + 1 : 0;
    for (int i = 0; i < count && !t.isEmpty(); ++i) {
        const int row = (first + i) % count;
        if (Fuzz::asciiLower(lines[row]).contains(t))
            return row;
    }
    return selected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool isLong = in.ConsumeBool();
    const PassLine::Form form = isLong ? PassLine::Form::Long : PassLine::Form::Short;
    QList<PassLineModel::Entry> entries;
    QStringList inFileOrder;
    const int cards = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < cards; ++i) {
        PassRecord card;
        card.Codice = Fuzz::text(in, 24);
        card.Tipo = Fuzz::text(in, 34);
        card.Utilizzo = Fuzz::text(in, 38);
        card.Stato = Fuzz::text(in, 8);
        card.Note = Fuzz::text(in, 8);
        const QString line = PassLine::build(form, card);
        const QString tail =
            isLong ? QString(u"  Uso: "_s + card.Utilizzo.leftJustified(35, u' ', true) + u"  Note: "_s + card.Note)
                   : QString(u"  Stato: "_s + card.Stato);
        const QString expected = u"Cod. "_s + card.Codice.leftJustified(20, u' ', true) + u"  Tipo: "_s +
                                 card.Tipo.leftJustified(30, u' ', true) + tail;
        check(line == expected);
        check(PassLine::fitted(card.Codice, 20) == card.Codice.leftJustified(20, u' ', true));
        // Lines that share a long beginning and differ past the first characters, as the lines of
        // one type of pass do.
        entries.append({in.ConsumeBool() ? line : Fuzz::text(in, 20), i + 1});
        inFileOrder.append(entries.last().line);
    }

    QList<PassLineModel::Entry> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(), [](const PassLineModel::Entry& a, const PassLineModel::Entry& b) {
        return keyBefore(a.line, b.line);
    });
    PassLineModel model;
    model.setEntries(entries);
    check(model.rowCount() == sorted.size());
    qsizetype longest = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        check(model.lineAt(row) == sorted[row].line);
        check(model.positionAt(row) == sorted[row].position);
        check(inFileOrder[model.positionAt(row) - 1] == model.lineAt(row));
        longest = std::max(longest, model.lineAt(row).size());
    }
    check(model.longestLine() == longest);
    const QStringList lines = model.lines();

    // Presses of "Trova", each with a text and a selection of the fuzzer's.
    QString remembered;
    while (model.rowCount() > 0 && in.remaining_bytes() > 0) {
        const QString typed = in.ConsumeBool() ? remembered : Fuzz::text(in, 6);
        const int selected = in.ConsumeIntegralInRange(-1, model.rowCount());
        const int expected = expectedFind(lines, selected, typed, remembered);
        check(model.find(selected, typed, remembered) == expected);
        check(remembered == Fuzz::asciiLower(typed));
    }
    return 0;
}
