// The card search with arbitrary filters over a card file of cards with arbitrary texts. The
// filters are read by the search window itself (its filter logic lives in the window), so the
// target drives the real window offscreen: it fills the filter fields and presses "Cerca". The
// results are the lines of exactly the cards whose fields contain every filter in use (a filter
// with a character above the blank, compared as typed with only the ASCII letters folded), in the
// list order, each with the position of its card.

#include "archives/CardFile.h"
#include "fuzz/FuzzSupport.h"
#include "lists/PassLine.h"
#include "lists/PassLineModel.h"
#include "registry/TrovaSchedario_Chiavi.h"
#include "tests/support/ScriptedSeams.h"

#include <QLineEdit>

#include <algorithm>
#include <array>

namespace {

using Fuzz::check;
using namespace Qt::StringLiterals;

struct Filter
{
    const char* name;
    QString PassRecord::*field;
};

// The filter fields of the window and the card fields they search.
const std::array<Filter, 10> Filters{{
    {"txtCodice", &PassRecord::Codice},
    {"txtTipo", &PassRecord::Tipo},
    {"txtUtilizzo", &PassRecord::Utilizzo},
    {"txtStato", &PassRecord::Stato},
    {"txtDuplicati", &PassRecord::Duplicati},
    {"txtLuogo", &PassRecord::Luogo},
    {"txtResponsabile", &PassRecord::Responsabile},
    {"txtRecapiti", &PassRecord::Recapiti},
    {"txtPersone", &PassRecord::Persone},
    {"txtNote", &PassRecord::Note},
}};

ScriptedMessages& messages()
{
    static ScriptedMessages m;
    return m;
}

TfrmTrovaSchedario_Chiavi& window()
{
    static AppContext ctx = [] {
        AppContext c;
        c.programFolder = Fuzz::folder();
        c.messages = &messages();
        return c;
    }();
    static TfrmTrovaSchedario_Chiavi* w = new TfrmTrovaSchedario_Chiavi(ctx);
    return *w;
}

bool inUse(const QString& filter)
{
    return std::any_of(filter.begin(), filter.end(), [](QChar c) { return c.unicode() > 32; });
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
    FuzzedDataProvider in(data, size);
    TfrmTrovaSchedario_Chiavi& w = window();

    // The filters: most fields left empty, as the operator leaves them.
    std::array<QString, Filters.size()> typed;
    for (size_t i = 0; i < Filters.size(); ++i) {
        auto* field = w.findChild<QLineEdit*>(QLatin1StringView(Filters[i].name));
        check(field != nullptr);
        field->setText(in.ConsumeIntegralInRange(0, 3) == 0 ? Fuzz::text(in, 4) : QString());
        typed[i] = field->text();
    }

    // The cards, written as the card editor writes them.
    QByteArray file;
    const int cards = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < cards; ++i) {
        PassRecord card;
        for (const Filter& f : Filters)
            card.*f.field = in.ConsumeBool() ? Fuzz::text(in, 6) : QString();
        file += card.encode();
    }
    Fuzz::writeFile(CardFile::FileName, file.constData(), size_t(file.size()));

    // What the search must list, from the cards as the file holds them.
    QList<PassLineModel::Entry> expected;
    for (int i = 0; i < cards; ++i) {
        const PassRecord card = PassRecord::decode(file.constData() + i * PassRecord::Size);
        bool matches = true;
        for (size_t f = 0; f < Filters.size(); ++f)
            matches = matches && (!inUse(typed[f]) ||
                                  Fuzz::asciiLower(card.*Filters[f].field).contains(Fuzz::asciiLower(typed[f])));
        if (matches)
            expected.append({PassLine::build(PassLine::Form::Long, card), i + 1});
    }
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
        const QString ka = PassLine::orderKey(a.line), kb = PassLine::orderKey(b.line);
        return std::lexicographical_compare(ka.utf16(), ka.utf16() + ka.size(), kb.utf16(), kb.utf16() + kb.size());
    });

    w.btnCercaClick();
    check(messages().calls.isEmpty());
    const PassLineModel& model = *w.model();
    check(model.rowCount() == expected.size());
    for (int row = 0; row < model.rowCount(); ++row) {
        check(model.lineAt(row) == expected[row].line);
        check(model.positionAt(row) == expected[row].position);
    }
    return 0;
}
