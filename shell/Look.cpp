#include "shell/Look.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLinearGradient>
#include <QMetaEnum>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>
#include <QStyle>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace Look {

namespace {

// The palette: every colour of the windows, each written once (AARRGGBB).
namespace Swatch {
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Yellow = 0xFFFFFF00;
constexpr QRgb SkyBlue = 0xFF87CEEB;
constexpr QRgb Beige = 0xFFF5F5DC;
constexpr QRgb AliceBlue = 0xFFF0F8FF;
constexpr QRgb Orange = 0xFFFFA500;
constexpr QRgb DarkBlue = 0xFF00008B;
constexpr QRgb Navy = 0xFF000080;
constexpr QRgb Crimson = 0xFFDC143C;
constexpr QRgb DarkCyan = 0xFF008B8B;
constexpr QRgb FireBrick = 0xFFB22222;
constexpr QRgb LightGrey = 0xFFD3D3D3;
constexpr QRgb SteelBlue = 0xFF4682B4;
constexpr QRgb DeepBlue = 0xFF1E3F66;
constexpr QRgb Ink = 0xFF17365D;
constexpr QRgb GuideInk = 0xFF1E2F40;
constexpr QRgb Charcoal = 0xFF333333;
constexpr QRgb Slate = 0xFF4A5A6A;
constexpr QRgb Grey = 0xFF707070;
constexpr QRgb Rust = 0xFF8B1A10;
constexpr QRgb StripBlue = 0xFF1F4E86;
constexpr QRgb BandBlue = 0xFF1F4E79;
constexpr QRgb MistEdge = 0xFF9BB7D4;
constexpr QRgb PanelEdge = 0xFF9CB8D8;
constexpr QRgb PaleSteel = 0xFFB0C4DE;
constexpr QRgb SeparatorMist = 0xFFC9D9EC;
constexpr QRgb LoginMist = 0xFFE6EEF7;
constexpr QRgb CardEdge = 0xFF7FA6D3;
constexpr QRgb PositionMist = 0xFFEEF4FB;
constexpr QRgb SlotMist = 0xFFF3F7FC;
constexpr QRgb ExportMist = 0xFFEEF2F6;
constexpr QRgb ExportBand = 0xFFD6E4F0;
constexpr QRgb PassMist = 0xFFF4F7FB;
constexpr QRgb ButtonBlue = 0xFF5B93C4;
constexpr QRgb ButtonDeep = 0xFF2B5C8A;
constexpr QRgb ButtonHover = 0xFF6FA8DC;
constexpr QRgb ButtonHoverDeep = 0xFF33699C;
constexpr QRgb Amber = 0xFFFFC94A;
constexpr QRgb WorkAreaMist = 0xFFA9C1DC;
constexpr QRgb WorkAreaFoot = 0xFF87A8CC;
constexpr QRgb ArrowOrange = 0xFFF7B733;
constexpr QRgb ArrowOrangeDeep = 0xFFD9780A;
constexpr QRgb ArrowOrangeEdge = 0xFF9A5406;
constexpr QRgb ArrowGreen = 0xFF5CB87A;
constexpr QRgb ArrowGreenDeep = 0xFF2E7D4F;
constexpr QRgb ArrowGreenEdge = 0xFF1D5434;
constexpr QRgb RoyalBlue = 0xFF3A6EC8;
constexpr QRgb HistoryBlue = 0xFF1E5AA0;
constexpr QRgb CardShadeBlue = 0xFF9EC0E6;
constexpr QRgb CardShadeMist = 0xFFDCE9F7;
// White seen through: the frames laid over a shade.
constexpr QRgb WhiteVeil215 = 0xD7FFFFFF;
constexpr QRgb WhiteVeil200 = 0xC8FFFFFF;
constexpr QRgb WhiteVeil170 = 0xAAFFFFFF;
constexpr QRgb WhiteVeil70 = 0x46FFFFFF;
} // namespace Swatch

QString sheetColour(QRgb colour)
{
    const QColor c = QColor::fromRgba(colour);
    if (c.alpha() == 255)
        return c.name();
    return u"rgba(%1, %2, %3, %4)"_s.arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

QString readStyleSheet()
{
    QFile file(u":/look.qss"_s);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Look: the style sheet :/look.qss is missing");
        return QString();
    }
    const QString text = QString::fromUtf8(file.readAll());
    const QMetaEnum roles = QMetaEnum::fromType<Role>();
    static const QRegularExpression placeholder(u"@([A-Za-z]+)"_s);
    QString out;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& m : placeholder.globalMatch(text)) {
        bool known = false;
        const int value = roles.keyToValue(m.captured(1).toLatin1().constData(), &known);
        out += QStringView(text).mid(done, m.capturedStart() - done);
        if (known) {
            out += sheetColour(rgb(Role(value)));
        } else {
            qWarning("Look: the style sheet names no colour role %s", qPrintable(m.captured(1)));
            out += m.captured();
        }
        done = m.capturedEnd();
    }
    out += QStringView(text).mid(done);
    return out;
}

QFont family(const QString& name, int pointSize, bool bold = false)
{
    QFont f(name, pointSize);
    if (bold)
        f.setBold(true);
    return f;
}

} // namespace

QRgb rgb(Role role)
{
    using namespace Swatch;
    switch (role) {
    case Role::FieldAtRest:
        return White;
    case Role::FieldFocused:
        return Yellow;
    case Role::FieldBorder:
        return SkyBlue;
    case Role::CardStateField:
        return Beige;
    case Role::SummaryField:
        return AliceBlue;
    case Role::FocusMark:
        return Yellow;
    case Role::FocusMarkFade:
        return White;

    case Role::Link:
        return DarkBlue;
    case Role::LinkPressed:
        return Orange;
    case Role::Caption:
        return DeepBlue;
    case Role::CardCaption:
        return Ink;
    case Role::Emphasis:
        return Crimson;
    case Role::Waiting:
        return DarkCyan;
    case Role::InfoText:
        return Charcoal;
    case Role::FineText:
        return Slate;
    case Role::GuideText:
        return GuideInk;
    case Role::TextOnDark:
        return White;
    case Role::LostPass:
        return Rust;
    case Role::FileFound:
        return Grey;
    case Role::FileMissing:
        return FireBrick;

    case Role::StatusText:
        return White;
    case Role::StatusStrip:
        return DeepBlue;
    case Role::CardStatusStrip:
        return StripBlue;
    case Role::HistoryStatusStrip:
        return Navy;

    case Role::Sheet:
        return White;
    case Role::SheetEdge:
        return MistEdge;
    case Role::PanelEdge:
        return Swatch::PanelEdge;
    case Role::TitleBandTop:
        return BandBlue;
    case Role::TitleBandFoot:
        return SteelBlue;
    case Role::Rule:
        return SkyBlue;
    case Role::Separator:
        return SteelBlue;
    case Role::ToolbarSeparator:
        return SeparatorMist;
    case Role::Toolbar:
        return White;
    case Role::LoginBodyTop:
        return White;
    case Role::LoginBodyFoot:
        return LoginMist;
    case Role::CardSheetBack:
        return WhiteVeil215;
    case Role::CardSheetEdge:
        return CardEdge;
    case Role::PositionBack:
        return PositionMist;
    case Role::AttachmentSlot:
        return SlotMist;
    case Role::ExportBack:
        return ExportMist;
    case Role::ExportBandTop:
        return White;
    case Role::ExportBandFoot:
        return ExportBand;
    case Role::SearchBackdrop:
        return WhiteVeil70;
    case Role::SearchBackdropEdge:
        return WhiteVeil170;
    case Role::PassField:
        return PassMist;
    case Role::PassFieldEdge:
        return PaleSteel;
    case Role::HistoryBack:
        return LightGrey;
    case Role::HistoryTitle:
        return Navy;
    case Role::YearLabelTop:
        return SteelBlue;
    case Role::YearLabelFoot:
        return DeepBlue;
    case Role::YearFrameBack:
        return WhiteVeil215;
    case Role::YearFrameEdge:
        return DeepBlue;
    case Role::PeriodBack:
        return WhiteVeil200;
    case Role::PeriodEdge:
        return SteelBlue;

    case Role::LauncherButtonTop:
        return ButtonBlue;
    case Role::LauncherButtonFoot:
        return ButtonDeep;
    case Role::LauncherButtonHoverTop:
        return ButtonHover;
    case Role::LauncherButtonHoverFoot:
        return ButtonHoverDeep;
    case Role::LauncherButtonPressedTop:
        return ButtonDeep;
    case Role::LauncherButtonPressedFoot:
        return DeepBlue;
    case Role::LauncherButtonEdge:
        return DeepBlue;
    case Role::LauncherButtonFocus:
        return Amber;
    case Role::WorkAreaEdge:
        return WorkAreaMist;
    case Role::WorkAreaFoot:
        return Swatch::WorkAreaFoot;
    case Role::LauncherFootEdge:
        return PaleSteel;
    case Role::WithdrawalTop:
        return ArrowOrange;
    case Role::WithdrawalFoot:
        return ArrowOrangeDeep;
    case Role::WithdrawalEdge:
        return ArrowOrangeEdge;
    case Role::ReturnTop:
        return ArrowGreen;
    case Role::ReturnFoot:
        return ArrowGreenDeep;
    case Role::ReturnEdge:
        return ArrowGreenEdge;
    case Role::ChoiceHoverEdge:
        return White;
    case Role::ChoiceFocusEdge:
        return DeepBlue;

    case Role::ScreenShadeTop:
        return SteelBlue;
    case Role::SearchShadeTop:
        return RoyalBlue;
    case Role::HistoryShadeTop:
        return HistoryBlue;
    case Role::CardShadeTop:
        return CardShadeBlue;
    case Role::CardShadeMiddle:
        return CardShadeMist;
    case Role::ShadeFoot:
        return White;

    case Role::ListText:
        return Black;
    case Role::ListBase:
        return White;
    }
    return Black;
}

QColor color(Role role)
{
    return QColor::fromRgba(rgb(role));
}

QFont font(FontRole role)
{
    const QString verdana = u"Verdana"_s;
    const QString tahoma = u"Tahoma"_s;
    const QString arial = u"Arial"_s;
    switch (role) {
    case FontRole::Field:
        return family(verdana, 12, true);
    case FontRole::Caption:
        return family(verdana, 10, true);
    case FontRole::Text:
        return family(verdana, 10);
    case FontRole::Prompt:
        return family(verdana, 11);
    case FontRole::Entry:
        return family(verdana, 12);
    case FontRole::Title:
        return family(verdana, 12, true);
    case FontRole::GuidePage:
        return family(verdana, 12, true);
    case FontRole::GroupTitle:
        return family(verdana, 11, true);
    case FontRole::AttachmentName:
        return family(verdana, 10, true);
    case FontRole::Position:
        return family(verdana, 14, true);
    case FontRole::Choice:
        return family(verdana, 16, true);
    case FontRole::Year:
        return family(verdana, 18, true);
    case FontRole::Heading:
        return family(verdana, 24, true);
    case FontRole::LauncherButton: {
        QFont f(verdana);
        f.setBold(true);
        return f;
    }
    case FontRole::CardCaption:
        return family(tahoma, 11, true);
    case FontRole::SlotCaption:
        return family(tahoma, 10, true);
    case FontRole::Link: {
        QFont f = family(tahoma, 14);
        f.setUnderline(true);
        return f;
    }
    case FontRole::Status:
        return family(tahoma, 12);
    case FontRole::Contact:
        return family(tahoma, 11);
    case FontRole::Notice:
        return family(tahoma, 9);
    case FontRole::GuideTitle:
        return family(arial, 16, true);
    case FontRole::PeriodTitle:
        return family(arial, 18, true);
    case FontRole::PassList: {
        QFont f(u"Courier New"_s, 12);
        f.setStyleHint(QFont::Monospace);
        f.setFixedPitch(true);
        return f;
    }
    }
    return QFont();
}

void setKind(QWidget* widget, Kind kind)
{
    widget->setProperty("look", QString::fromLatin1(QMetaEnum::fromType<Kind>().valueToKey(int(kind))));
    // The style matches its rules again with the property, and a widget that keeps measures taken
    // from its style when it was made (a group box's frame) takes them anew.
    QStyle* style = widget->style();
    style->unpolish(widget);
    style->polish(widget);
    QEvent change(QEvent::StyleChange);
    QCoreApplication::sendEvent(widget, &change);
}

QString styleSheet()
{
    static const QString sheet = readStyleSheet();
    return sheet;
}

void applyStyleSheet(QWidget* window)
{
    window->setStyleSheet(styleSheet());
}

QString fieldStyleSheet(const QString& objectName, QRgb background)
{
    const QString body = u"background-color: %1; border: 1px solid %2; padding: 1px 2px;"_s.arg(
        sheetColour(background), sheetColour(rgb(Role::FieldBorder)));
    if (objectName.isEmpty())
        return body;
    return u"#%1 { %2 }"_s.arg(objectName, body);
}

void paintShade(QWidget* widget, Shade shade)
{
    QLinearGradient gradient(0, 0, 0, widget->height());
    switch (shade) {
    case Shade::Screen:
        gradient.setColorAt(0, color(Role::ScreenShadeTop));
        break;
    case Shade::CardFile:
        gradient.setColorAt(0, color(Role::CardShadeTop));
        gradient.setColorAt(0.55, color(Role::CardShadeMiddle));
        break;
    case Shade::Search:
        gradient.setColorAt(0, color(Role::SearchShadeTop));
        break;
    case Shade::History:
        gradient.setColorAt(0, color(Role::HistoryShadeTop));
        break;
    }
    gradient.setColorAt(1, color(Role::ShadeFoot));
    QPainter painter(widget);
    painter.fillRect(widget->rect(), gradient);
}

void paintFocusMark(QWidget* mark)
{
    QPainter painter(mark);
    const QRect r = mark->rect();
    painter.fillRect(r, color(Role::FocusMark));
    QLinearGradient fade(r.topLeft(), r.bottomRight());
    fade.setColorAt(0.0, color(Role::FocusMark));
    fade.setColorAt(1.0, color(Role::FocusMarkFade));
    painter.setPen(QPen(QBrush(fade), 2));
    painter.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
}

} // namespace Look
