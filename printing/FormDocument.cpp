#include "printing/FormDocument.h"

using namespace Qt::StringLiterals;

FormObject FormObject::textBox(const QString& name, const QRectF& rect, const QString& text, const TextStyle& style)
{
    FormObject object;
    object.kind = Kind::Text;
    object.name = name;
    object.rect = rect;
    object.text = text;
    object.style = style;
    return object;
}

FormObject FormObject::shape(const QRectF& rect, const QColor& fill)
{
    FormObject object;
    object.kind = Kind::Shape;
    object.rect = rect;
    object.fill = fill;
    return object;
}

FormObject FormObject::line(const QPointF& start, double length, Qt::Orientation orientation)
{
    FormObject object;
    object.kind = Kind::Line;
    object.rect = orientation == Qt::Horizontal ? QRectF(start, QSizeF(length, 0)) : QRectF(start, QSizeF(0, length));
    object.orientation = orientation;
    return object;
}

namespace FormDocument {

QList<FormObject> rows(const QList<FormRow>& rows, const FormColumns& columns)
{
    QList<FormObject> frames, texts;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const double down = columns.step * double(i);
        if (columns.frame.width() > 0)
            frames << FormObject::shape(columns.frame.translated(0, down));
        texts << FormObject::textBox(QString(), columns.label.translated(0, down), rows.at(i).label,
                                     columns.labelStyle);
        texts << FormObject::textBox(rows.at(i).valueBox, columns.value.translated(0, down), rows.at(i).designText,
                                     columns.valueStyle);
    }
    return frames + texts;
}

std::unique_ptr<Document> create(const FormDesign& design)
{
    auto document = std::make_unique<Document>(design.name, QPageLayout::Portrait);
    Page& page = *document->page(1);
    for (const FormObject& object : design.objects) {
        switch (object.kind) {
        case FormObject::Kind::Text:
            page.add(std::make_unique<TextBox>(object.name, object.rect, object.style, object.text));
            break;
        case FormObject::Kind::Shape:
            page.add(std::make_unique<Shape>(object.name, object.rect, object.fill));
            break;
        case FormObject::Kind::Line:
            page.add(std::make_unique<LineObject>(
                object.name, object.rect.topLeft(),
                object.orientation == Qt::Horizontal ? object.rect.width() : object.rect.height(), object.orientation));
            break;
        }
    }
    return document;
}

QString footerText(const QDateTime& moment)
{
    return u"Stampa eseguita in data "_s + moment.date().toString(u"dd/MM/yyyy"_s) + u" alle ore "_s +
           moment.time().toString(u"HH:mm:ss"_s);
}

bool fill(Document& document, const QList<std::pair<QString, QString>>& values, const QDateTime& moment)
{
    document.page(1)->setOrientation(QPageLayout::Portrait);
    for (const auto& [name, text] : values) {
        TextBox* box = document.findTextBox(name);
        if (!box)
            return false;
        box->setText(text);
    }
    TextBox* calce = document.findTextBox(u"txtCalce"_s);
    if (!calce)
        return false;
    calce->setText(footerText(moment));
    return true;
}

} // namespace FormDocument
