#include "operations/OperationKit.h"

#include "archives/Win1252.h"
#include "shell/Look.h"
#include "shell/ScreenKit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace OperationKit {

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(Look::font(Look::FontRole::Caption));
    Look::setKind(label, Look::Kind::Caption);
    return label;
}

void addFields(QGridLayout* grid, int firstRow, QWidget* parent, const QList<CaptionedField>& fields, int minimumWidth)
{
    int row = firstRow;
    for (const CaptionedField& f : fields) {
        QString accessible = f.caption.trimmed();
        if (accessible.endsWith(u':'))
            accessible.chop(1);
        auto* edit = ScreenKit::named(new QLineEdit(parent), f.name, accessible);
        edit->setFont(Look::font(Look::FontRole::Field));
        edit->setMinimumWidth(minimumWidth);
        *f.edit = edit;
        QLabel* label = caption(f.caption, parent);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(edit, row, 1);
        ++row;
    }
}

QString trimmed(const QString& text)
{
    return Win1252::trimmed(text).toString();
}

} // namespace OperationKit
