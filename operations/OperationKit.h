#pragma once

#include <QList>
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// What the windows of withdrawals and returns share in their look and their texts.
namespace OperationKit {

// A caption in front of a field, in the caption font and colour.
QLabel* caption(const QString& text, QWidget* parent);

// One captioned edit: where the edit goes, its name and the caption in front of it.
struct CaptionedField
{
    QLineEdit** edit;
    QString name;
    QString caption; // "Tipo pass:"; its words without the colon are the edit's accessible name
};

// Puts a caption (right-aligned) and an edit in the field font on each row of `grid`, from `firstRow`.
void addFields(QGridLayout* grid, int firstRow, QWidget* parent, const QList<CaptionedField>& fields, int minimumWidth);

// The text without leading and trailing characters of code 32 or below.
QString trimmed(const QString& text);

} // namespace OperationKit
