#pragma once

// The look of every window in one place: the colours named by the role they play, the fonts named
// by theirs, the style sheet that every window wears (resources/look.qss) and the shades painted
// behind the screens. Windows name a role, never a colour or a font family:
//
//     label->setFont(Look::font(Look::FontRole::Caption));
//     Look::setKind(label, Look::Kind::Caption);            // the style sheet's rule for captions
//     painter.setPen(Look::color(Look::Role::ListText));
//     Look::paintShade(this, Look::Shade::Search);          // in a window's paintEvent
//
// The style sheet writes colours as "@Role" (for example "@SheetEdge"); they are filled in from the
// palette below when the sheet is read, so that each colour is written once, in Look.cpp.

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

class QWidget;

namespace Look {
Q_NAMESPACE

enum class Role
{
    // Fields that show the focus by their colours, and the marks around fields.
    FieldAtRest,    // a coloured field without the focus
    FieldFocused,   // a coloured field with the focus
    FieldBorder,    // the border of every coloured field
    CardStateField, // the card editor's state field, focused or not
    SummaryField,   // the return summary's fields, focused or not
    FocusMark,      // the rectangle behind the focused field
    FocusMarkFade,  // where the mark's border fades to, at its bottom right

    // Texts.
    Link,        // a link text at rest
    LinkPressed, // a link text while a mouse button is held on it
    Caption,     // captions and explanations on light sheets
    CardCaption, // captions of the card editor, the attachments and the card print
    Emphasis,    // the guide's title, the instructions and waiting text of the pass lists and search
    Waiting,     // the history's waiting text
    InfoText,    // the information window's contact line
    FineText,    // the information window's maker notice and version
    GuideText,   // the guide's page
    TextOnDark,  // titles and buttons on dark grounds
    LostPass,    // the card editor's "lost" check
    FileFound,   // an attachment's name whose file is in the attachments folder
    FileMissing, // an attachment's name whose file is not there

    // Status lines.
    StatusText,         // the text of every status line
    StatusStrip,        // the strip of the operation screens and the card export
    CardStatusStrip,    // the strip of the card editor
    HistoryStatusStrip, // the strip of the history view

    // Sheets, bands and rules.
    Sheet,            // the white rounded sheets the screens' parts stand on
    SheetEdge,        // their edge; the edges of the login body and the export band
    PanelEdge,        // the edges of the card editor's toolbar and position, and of the attachment slots
    TitleBandTop,     // the title band of the login and password-change windows
    TitleBandFoot,    //
    Rule,             // the thin rule under a title
    Separator,        // the thick rule above a dialog's buttons
    ToolbarSeparator, // the lines between the card editor's command groups
    Toolbar,          // the card editor's toolbar band
    LoginBodyTop,     // the body of the login window
    LoginBodyFoot,    //
    CardSheetBack,    // the card editor's card sheet
    CardSheetEdge,    //
    PositionBack,     // the card editor's position box
    AttachmentSlot,   // the frame of one attachment
    ExportBack,       // the card export's ground
    ExportBandTop,    // the card export's command band
    ExportBandFoot,   //
    SearchBackdrop,   // the search window's frame behind the filters
    SearchBackdropEdge,
    PassField,     // the operation screens' read-only pass fields
    PassFieldEdge, //
    HistoryBack,   // the history view's ground
    HistoryTitle,  // the history view's title frame
    YearLabelTop,  // the year labels of the history's period
    YearLabelFoot, //
    YearFrameBack, // the frame of the history's year field
    YearFrameEdge, //
    PeriodBack,    // the frames of the history's period ends
    PeriodEdge,    //

    // Buttons.
    LauncherButtonTop, // the launcher's work-area buttons
    LauncherButtonFoot,
    LauncherButtonHoverTop,
    LauncherButtonHoverFoot,
    LauncherButtonPressedTop,
    LauncherButtonPressedFoot,
    LauncherButtonEdge,
    LauncherButtonFocus,
    WorkAreaEdge, // the launcher's work-area panels
    WorkAreaFoot,
    LauncherFootEdge, // the line over the launcher's foot
    WithdrawalTop,    // the chooser's withdrawal button, the colours of the arrow going out
    WithdrawalFoot,
    WithdrawalEdge,
    ReturnTop, // the chooser's return button, the colours of the arrow coming back
    ReturnFoot,
    ReturnEdge,
    ChoiceHoverEdge,
    ChoiceFocusEdge,

    // Shades painted behind whole screens, from the top colour to the foot.
    ScreenShadeTop,  // the launcher, the operation screens and the small windows
    SearchShadeTop,  // the search and the pass lists
    HistoryShadeTop, // the history interval window
    CardShadeTop,    // the card editor
    CardShadeMiddle, //
    ShadeFoot,       // the foot of every shade

    // The pass lists.
    ListText,
    ListBase,
};
Q_ENUM_NS(Role)

QColor color(Role role);
QRgb rgb(Role role);

enum class FontRole
{
    Field,          // Verdana 12 bold: values in fields (card, operation, search text, year)
    Caption,        // Verdana 10 bold: captions in front of fields, date groups, instructions
    Text,           // Verdana 10: explanations, search filters, attachment descriptions
    Prompt,         // Verdana 11: the login prompt, the history's drop-downs
    Entry,          // Verdana 12: password entries, the history's waiting text
    Title,          // Verdana 12 bold: the search title, the chooser's question, the year caption
    GuidePage,      // Verdana 12 bold: the guide's page
    GroupTitle,     // Verdana 11 bold: the lost check, the history's period groups and command
    AttachmentName, // Verdana 10 bold: the attachments' file names
    Position,       // Verdana 14 bold: the card editor's position
    Choice,         // Verdana 16 bold: the chooser's two buttons
    Year,           // Verdana 18 bold: the years of the date groups and the history's period
    Heading,        // Verdana 24 bold: the history's heading
    LauncherButton, // Verdana bold: the launcher's buttons, sized with the window
    CardCaption,    // Tahoma 11 bold: the card editor's captions
    SlotCaption,    // Tahoma 10 bold: the attachments' captions
    Link,           // Tahoma 14 underlined: link texts
    Status,         // Tahoma 12: status lines
    Contact,        // Tahoma 11: the information window's contact line
    Notice,         // Tahoma 9: the information window's maker notice and version
    GuideTitle,     // Arial 16 bold: the guide's title
    PeriodTitle,    // Arial 18 bold: the history view's title
    PassList,       // Courier New 12, fixed pitch: the pass lists' lines
};

QFont font(FontRole role);

// The variants of the style sheet that several windows share or that unnamed widgets take; a
// window's own named controls are styled by their names in the sheet.
enum class Kind
{
    Sheet,            // white rounded sheet (CommonParts::newSheet)
    TitleBand,        // the login and password-change windows' title band
    Rule,             // thin rule under a title
    Separator,        // thick rule above a dialog's buttons
    ToolbarSeparator, // line between the card editor's command groups
    Caption,          // caption or explanation text
    CardCaption,      // caption text of the card editor, the attachments and the card print
    SlotCaption,      // caption in an attachment's frame
    AttachmentSlot,   // frame of one attachment
    Emphasis,         // text in the emphasis colour
    TextOnDark,       // text on a dark ground
    PassField,        // read-only pass field of an operation screen
    LauncherButton,   // work-area button of the launcher
    WithdrawalChoice, // the chooser's withdrawal button
    ReturnChoice,     // the chooser's return button
    YearLabel,        // year of the history's period
    PeriodGroup,      // frame of one end of the history's period
};
Q_ENUM_NS(Kind)

// Gives the widget the style sheet's variant (the dynamic property "look").
void setKind(QWidget* widget, Kind kind);

// The program's style sheet with every "@Role" replaced by the role's colour.
QString styleSheet();
// Makes the window wear the style sheet; every top-level window calls it once, as it is built.
void applyStyleSheet(QWidget* window);

// A field's own style sheet: its background in `background` with the field border, for the field
// colouring that changes with the focus. Scoped to the field's name when it has one, so that the
// parts inside it (a drop-down's list, a scroll bar) keep their own look.
QString fieldStyleSheet(const QString& objectName, QRgb background);

enum class Shade
{
    Screen,   // steel blue to white: the launcher, the operation screens, the small windows
    CardFile, // light blue through pale blue to white: the card editor
    Search,   // royal blue to white: the search and the pass lists
    History,  // deep blue to white: the history interval window
};

// Fills the widget with a shade from its top to its foot (from a paintEvent).
void paintShade(QWidget* widget, Shade shade = Shade::Screen);

// Paints a focus mark over the whole widget: the mark's colour with a border that fades to the
// fade colour from the top left to the bottom right (from a paintEvent).
void paintFocusMark(QWidget* mark);

} // namespace Look
