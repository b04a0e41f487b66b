#pragma once

#include "printing/Document.h"

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QString>

#include <memory>
#include <utility>

// Form documents: one portrait page whose named boxes each receive one value, with a footer box
// `txtCalce` for the date and time of printing. A form is described as data (FormDesign) and
// built into a Document.

// One object of a form as drawn in its design.
struct FormObject
{
    enum class Kind
    {
        Text,
        Shape,
        Line
    };

    Kind kind = Kind::Shape;
    QString name;    // empty for decoration and fixed texts
    QRectF rect;     // lines: the start point, and the length as width (horizontal) or height
    QString text;    // Text: the design text
    TextStyle style; // Text
    QColor fill;     // Shape; invalid: no fill
    Qt::Orientation orientation = Qt::Horizontal; // Line

    static FormObject textBox(const QString& name, const QRectF& rect, const QString& text, const TextStyle& style);
    static FormObject shape(const QRectF& rect, const QColor& fill = QColor());
    static FormObject line(const QPointF& start, double length, Qt::Orientation orientation);
};

// A row of label and value: the fixed label, the name of the box that receives the value and
// the value box's design text.
struct FormRow
{
    QString label;
    QString valueBox;
    QString designText;
};

// Where the rows go: the frame, label box and value box of the first row; each further row is
// `step` lower. A frame of no width leaves the rows unframed.
struct FormColumns
{
    QRectF frame;
    QRectF label;
    QRectF value;
    double step = 0;
    TextStyle labelStyle;
    TextStyle valueStyle;
};

struct FormDesign
{
    QString name;              // the title the print job carries
    QList<FormObject> objects; // in drawing order
};

namespace FormDocument {

// The frames, label boxes and value boxes of the rows, frames first.
QList<FormObject> rows(const QList<FormRow>& rows, const FormColumns& columns);

// A new portrait document holding the design's objects.
std::unique_ptr<Document> create(const FormDesign& design);

// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss".
QString footerText(const QDateTime& moment);

// The form-document steps before preparing: the page to portrait, each value into its box,
// `txtCalce` to the footer text of `moment`. False when a box of that name is missing.
bool fill(Document& document, const QList<std::pair<QString, QString>>& values, const QDateTime& moment);

} // namespace FormDocument
