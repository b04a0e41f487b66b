#include "lists/RiepSmarrite.h"

using namespace Qt::StringLiterals;

TfrmRiepSmarrite::TfrmRiepSmarrite(AppContext& ctx, QWidget* parent) : PassListWindow(ctx, description(), parent) {}

const PassListVariant& TfrmRiepSmarrite::description()
{
    static QString remembered;
    static const PassListVariant variant{
        .windowName = u"frmRiepSmarrite"_s,
        .caption = u" Elenco pass smarriti"_s,
        .printTitle = u"Elenco pass smarriti"_s,
        .form = PassLine::Form::Long,
        .listed = PassListFilters::lost,
        .doubleClick = PassListVariant::DoubleClick::HandOver,
        .whenEmpty = PassListVariant::WhenEmpty::Close,
        .showsInstruction = true,
        .rememberedFind = &remembered,
    };
    return variant;
}
