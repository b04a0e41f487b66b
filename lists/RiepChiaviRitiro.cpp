#include "lists/RiepChiaviRitiro.h"

using namespace Qt::StringLiterals;

TfrmRiepChiaviRitiro::TfrmRiepChiaviRitiro(AppContext& ctx, QWidget* parent)
    : PassListWindow(ctx, description(), parent)
{
}

const PassListVariant& TfrmRiepChiaviRitiro::description()
{
    static QString remembered;
    static const PassListVariant variant{
        .windowName = u"frmRiepChiaviRitiro"_s,
        .caption = u" Elenco pass disponibili per ritiro"_s,
        .printTitle = u"Elenco pass disponibili per ritiro"_s,
        .form = PassLine::Form::Long,
        .listed = PassListFilters::available,
        .doubleClick = PassListVariant::DoubleClick::HandOver,
        .whenEmpty = PassListVariant::WhenEmpty::WarnAndClose,
        .showsInstruction = true,
        .picksByCode = true,
        .rememberedFind = &remembered,
    };
    return variant;
}
