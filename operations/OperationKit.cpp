#include "operations/OperationKit.h"

#include "archives/Win1252.h"
#include "shell/ScreenKit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace OperationKit {

QFont fieldFont()
{
    QFont font(u"Verdana"_s, 12);
    font.setBold(true);
    return font;
}

QFont captionFont()
{
    QFont font(u"Verdana"_s, 10);
    font.setBold(true);
    return font;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(captionFont());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x1e, 0x3f, 0x66));
    label->setPalette(palette);
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
        edit->setFont(fieldFont());
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
