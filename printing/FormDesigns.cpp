#include "printing/FormDesigns.h"

using namespace Qt::StringLiterals;

namespace {

const QColor LightSteelBlue(0xB0, 0xC4, 0xDE);
const QColor Gold(0xFF, 0xD7, 0x00);

TextStyle arial(double pointSize, Qt::Alignment horizontal)
{
    TextStyle style;
    style.family = u"Arial"_s;
    style.pointSize = pointSize;
    style.alignment = horizontal | Qt::AlignTop;
    return style;
}

QList<FormRow> cardRows()
{
    return {
        {u"Numero identificativo:"_s, u"txtCodice"_s, QString()},
        {u"Tipo pass:"_s, u"txtTipo"_s, QString()},
        {u"Utilizzo:"_s, u"txtUtilizzo"_s, QString()},
        {u"Stato attuale:"_s, u"txtStato"_s, QString()},
        {u"Duplicati:"_s, u"txtDuplicati"_s, QString()},
        {u"Luogo conservazione:"_s, u"txtLuogo"_s, QString()},
        {u"Responsabile:"_s, u"txtResponsabile"_s, QString()},
        {u"Recapiti:"_s, u"txtRecapiti"_s, QString()},
        {u"Persone autorizzate al ritiro:"_s, u"txtPersone"_s, QString()},
        {u"Note:"_s, u"txtNote"_s, QString()},
    };
}

} // namespace

namespace FormDesigns {

FormDesign card()
{
    FormColumns columns;
    columns.frame = QRectF(3.77953, 26.4566, 710.551, 17.3858);
    columns.label = QRectF(7.55906, 28.3464, 142.866, 13.2283);
    columns.value = QRectF(166.299, 28.3464, 544.252, 13.2283);
    columns.step = 18.8976;
    columns.labelStyle = arial(7, Qt::AlignLeft);
    columns.valueStyle = arial(7, Qt::AlignLeft);

    FormDesign design;
    design.name = u"Scheda Pass"_s;
    design.objects << FormObject::shape(QRectF(3.77953, 3.77953, 710.552, 21.9213), LightSteelBlue)
                   << FormObject::textBox(u"titArcataSup"_s, QRectF(7.55906, 7.55906, 702.236, 15.874),
                                          u"SCHEDA PASS"_s, arial(9, Qt::AlignHCenter))
                   << FormDocument::rows(cardRows(), columns)
                   << FormObject::line(QPointF(158.74, 26.4567), 187.464, Qt::Vertical)
                   << FormObject::shape(QRectF(3.77953, 219.213, 710.552, 21.9213), Gold)
                   << FormObject::textBox(u"txtCalce"_s, QRectF(7.55906, 222.992, 702.236, 15.874), QString(),
                                          arial(8, Qt::AlignHCenter));
    return design;
}

QStringList cardValueBoxes()
{
    QStringList names;
    for (const FormRow& row : cardRows())
        names << row.valueBox;
    return names;
}

} // namespace FormDesigns
