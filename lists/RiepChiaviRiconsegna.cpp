#include "lists/RiepChiaviRiconsegna.h"

using namespace Qt::StringLiterals;

TfrmRiepChiaviRiconsegna::TfrmRiepChiaviRiconsegna(AppContext& ctx, QWidget* parent)
    : PassListWindow(ctx, description(), parent)
{
}

const PassListVariant& TfrmRiepChiaviRiconsegna::description()
{
    static QString remembered;
    static const PassListVariant variant{
        .windowName = u"frmRiepChiaviRiconsegna"_s,
        .caption = u" Elenco pass da riconsegnare"_s,
        .printTitle = u"Elenco pass da riconsegnare"_s,
        .form = PassLine::Form::Short,
        .listed = PassListFilters::out,
        .doubleClick = PassListVariant::DoubleClick::HandOver,
        .whenEmpty = PassListVariant::WhenEmpty::WarnAndClose,
        .showsInstruction = true,
        .picksByCode = true,
        .rememberedFind = &remembered,
    };
    return variant;
}
