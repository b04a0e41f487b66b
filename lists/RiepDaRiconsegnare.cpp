#include "lists/RiepDaRiconsegnare.h"

using namespace Qt::StringLiterals;

TfrmRiepDaRiconsegnare::TfrmRiepDaRiconsegnare(AppContext& ctx, QWidget* parent)
    : PassListWindow(ctx, description(), parent)
{
}

const PassListVariant& TfrmRiepDaRiconsegnare::description()
{
    static QString remembered;
    static const PassListVariant variant{
        .windowName = u"frmRiepDaRiconsegnare"_s,
        .caption = u" Elenco pass da riconsegnare"_s,
        .printTitle = u"Elenco pass da riconsegnare"_s,
        .form = PassLine::Form::Short,
        .listed = PassListFilters::out,
        .doubleClick = PassListVariant::DoubleClick::Nothing,
        .whenEmpty = PassListVariant::WhenEmpty::Close,
        .showsInstruction = false,
        .rememberedFind = &remembered,
    };
    return variant;
}
