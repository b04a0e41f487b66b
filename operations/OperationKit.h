#pragma once

#include <QFont>
#include <QList>
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// What the windows of withdrawals and returns share in their look and their texts.
namespace OperationKit {

// Verdana 12 bold: the pass fields, the person, the date-time drop-downs and the summary boxes.
QFont fieldFont();
// Verdana 10 bold in dark steel blue: the captions in front of the fields.
QFont captionFont();
QLabel* caption(const QString& text, QWidget* parent);

// One captioned edit: where the edit goes, its name and the caption in front of it.
struct CaptionedField
{
    QLineEdit** edit;
    QString name;
    QString caption; // "Tipo pass:"; its words without the colon are the edit's accessible name
};

// Puts a caption (right-aligned) and an edit in field type on each row of `grid`, from `firstRow`.
void addFields(QGridLayout* grid, int firstRow, QWidget* parent, const QList<CaptionedField>& fields, int minimumWidth);

// The text without leading and trailing characters of code 32 or below.
QString trimmed(const QString& text);

} // namespace OperationKit
