#include "operations/SignatureForm.h"

#include "operations/OperationKit.h"
#include "printing/Document.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/PrintDocument.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QColor LightSteelBlue(0xB0, 0xC4, 0xDE);
const QColor Gold(0xFF, 0xD7, 0x00);

TextStyle arial(double pointSize, bool bold, Qt::Alignment alignment)
{
    TextStyle style;
    style.family = u"Arial"_s;
    style.pointSize = pointSize;
    style.bold = bold;
    style.alignment = alignment;
    return style;
}

} // namespace

namespace SignatureForms {

FormDesign design(Operation operation)
{
    const bool withdrawal = operation == Operation::Withdrawal;

    // Rows 37.7953 units apart, from 45.3544; the return form's labels are wider.
    FormColumns columns;
    columns.step = 37.7953;
    columns.label = QRectF(7.55906, 45.3544, withdrawal ? 161.763 : 200.315, 24.9449);
    columns.frame =
        withdrawal ? QRectF(185.197, 45.3544, 529.134, 24.9449) : QRectF(215.433, 45.3544, 498.898, 24.9449);
    columns.value = withdrawal ? QRectF(192.756, 45.3544, 513.26, 24.9449) : QRectF(219.213, 45.3544, 486.803, 24.9449);
    columns.labelStyle = arial(12, false, Qt::AlignLeft | Qt::AlignVCenter);
    columns.valueStyle = arial(12, true, Qt::AlignLeft | Qt::AlignVCenter);

    const QList<FormRow> rows = {
        withdrawal ? FormRow{u"RICHIEDENTE:"_s, u"txtPersonaRit"_s, u"Nome richiedente"_s}
                   : FormRow{u"RESTITUTORE:"_s, u"txtPersonaRic"_s, u"Nome richiedente"_s},
        withdrawal ? FormRow{u"DATA RITIRO:"_s, u"txtDataRit"_s, u"GG/MM/AAAA"_s}
                   : FormRow{u"DATA RICONSEGNA:"_s, u"txtDataRic"_s, u"GG/MM/AAAA"_s},
        withdrawal ? FormRow{u"ORA RITIRO:"_s, u"txtOraRit"_s, u"hh:mm"_s}
                   : FormRow{u"ORA RICONSEGNA:"_s, u"txtOraRic"_s, u"hh:mm"_s},
        {u"PASS N."_s, u"txtCodice"_s, u"Codice chiave"_s},
        {u"TIPO PASS:"_s, u"txtTipo"_s, u"Tipo chiave"_s},
        {u"UTILIZZO:"_s, u"txtUtilizzo"_s, u"Utilizzo chiave"_s},
    };

    const TextStyle signature = arial(10, false, Qt::AlignHCenter | Qt::AlignVCenter);
    FormDesign form;
    form.name = withdrawal ? u"Scheda Ritiro Pass"_s : u"Scheda Riconsegna Pass"_s;
    form.objects << FormObject::shape(QRectF(3.77953, 3.77953, 710.552, 24.9449), LightSteelBlue)
                 << FormObject::textBox(u"titArcataSup"_s, QRectF(7.55906, 3.77953, 702.236, 24.9449),
                                        withdrawal ? u"MODULO RITIRO PASS"_s : u"MODULO RICONSEGNA PASS"_s,
                                        arial(12, true, Qt::AlignHCenter | Qt::AlignVCenter))
                 << FormDocument::rows(rows, columns)
                 << FormObject::textBox(QString(), QRectF(7.55906, 302.362, 268.346, 24.9449),
                                        u"FIRMA DEL RESPONSABILE"_s, signature)
                 << FormObject::textBox(QString(), QRectF(445.985, 302.362, 268.346, 24.9449),
                                        withdrawal ? u"FIRMA DEL RICHIEDENTE"_s : u"FIRMA DEL RESTITUTORE"_s, signature)
                 << FormObject::line(QPointF(7.55906, 377.953), 268.347, Qt::Horizontal)
                 << FormObject::line(QPointF(445.985, 377.953), 268.346, Qt::Horizontal)
                 << FormObject::shape(QRectF(3.77953, 400.63, 710.552, 21.9213), Gold)
                 << FormObject::textBox(u"txtCalce"_s, QRectF(7.55906, 404.41, 702.236, 15.874), u"Data e ora stampa"_s,
                                        arial(8, false, Qt::AlignHCenter | Qt::AlignVCenter));
    return form;
}

QList<std::pair<QString, QString>> boxValues(Operation operation, const SignatureValues& v)
{
    using OperationKit::trimmed;
    const QString suffix = operation == Operation::Withdrawal ? u"Rit"_s : u"Ric"_s;
    return {
        {u"txtCodice"_s, trimmed(v.codice)},
        {u"txtTipo"_s, trimmed(v.tipo)},
        {u"txtUtilizzo"_s, trimmed(v.utilizzo)},
        {u"txtPersona"_s + suffix, trimmed(v.persona)},
        {u"txtData"_s + suffix, trimmed(v.giorno) + u' ' + trimmed(v.mese) + u' ' + trimmed(v.anno)},
        {u"txtOra"_s + suffix, trimmed(v.ore) + u':' + trimmed(v.minuti)},
    };
}

} // namespace SignatureForms

SignatureFormWindow::SignatureFormWindow(AppContext& ctx, Operation operation, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_operation(operation),
      m_document(FormDocument::create(SignatureForms::design(operation)))
{
    const bool withdrawal = operation == Operation::Withdrawal;
    ScreenKit::name(this, withdrawal ? u"frmStampaScheda_Ritiro"_s : u"frmStampaScheda_Riconsegna"_s,
                    u"Stampa scheda"_s);
    setWindowTitle(u" Stampa scheda"_s);
    Look::applyStyleSheet(this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 14);
    outer->setSpacing(12);

    QWidget* shpSfondo = CommonParts::newSheet(u"shpSfondo"_s, u"Stampa scheda"_s, this);
    auto* grid = new QGridLayout(shpSfondo);
    grid->setContentsMargins(18, 16, 18, 16);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);

    auto* imgLogo01 = ScreenKit::named(new SvgPicture(u"op_persona"_s, shpSfondo), u"imgLogo01"_s, u"Persona"_s);
    imgLogo01->setPictureSize(QSize(72, 72));
    auto* icoInf01 = ScreenKit::named(
        new QLabel(withdrawal ? u"Questa operazione stampa su carta il modulo di ritiro del pass corrente con i dati "
                                u"inseriti dall'utente, da firmare."_s
                              : u"Questa operazione stampa su carta il modulo di riconsegna del pass corrente con i "
                                u"dati inseriti dall'utente, da firmare."_s,
                   shpSfondo),
        u"icoInf01"_s);
    auto* shpSepara = ScreenKit::named(new QFrame(shpSfondo), u"shpSepara"_s, u"Separatore"_s);
    shpSepara->setFixedHeight(5);
    auto* imgSezione04 =
        ScreenKit::named(new SvgPicture(u"op_stampante"_s, shpSfondo), u"imgSezione04"_s, u"Stampante"_s);
    imgSezione04->setPictureSize(QSize(72, 72));
    auto* icoInf02 = ScreenKit::named(
        new QLabel(u"Premere Stampa per avviare la stampa, oppure Annulla per chiudere senza stampare."_s, shpSfondo),
        u"icoInf02"_s);
    for (QLabel* info : {icoInf01, icoInf02}) {
        info->setFont(Look::font(Look::FontRole::Text));
        info->setWordWrap(true);
        info->setMinimumWidth(340);
        Look::setKind(info, Look::Kind::Caption);
        info->setAccessibleName(info->text());
    }
    grid->addWidget(imgLogo01, 0, 0, Qt::AlignCenter);
    grid->addWidget(icoInf01, 0, 1);
    grid->addWidget(shpSepara, 1, 0, 1, 2);
    grid->addWidget(imgSezione04, 2, 0, Qt::AlignCenter);
    grid->addWidget(icoInf02, 2, 1);
    outer->addWidget(shpSfondo);

    btnAnnulla = ScreenKit::newButton(u"Annulla"_s, u"btnAnnulla"_s, this);
    btnStampa = ScreenKit::newButton(u"Stampa"_s, u"btnStampa"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {btnAnnulla, btnStampa}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumSize(110, 34);
        buttons->addWidget(button);
    }
    outer->addLayout(buttons);
    QWidget::setTabOrder(btnAnnulla, btnStampa);
    connect(btnStampa, &QPushButton::clicked, this, &SignatureFormWindow::btnStampaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &SignatureFormWindow::btnAnnullaClick);

    ScreenKit::makeFixedDialogFrame(this);
}

SignatureFormWindow::~SignatureFormWindow() = default;

QString SignatureFormWindow::printFailedMessage()
{
    return u"Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
           u"Si consiglia di controllare le impostazioni della stampante."_s;
}

void SignatureFormWindow::btnStampaClick()
{
    bool ok = FormDocument::fill(*m_document, SignatureForms::boxValues(m_operation, m_values), m_ctx.clock->now());
    if (ok)
        ok = !printDocument(m_ctx, this, *m_document).failed();
    if (!ok)
        m_ctx.messages->notice(this, NoticeKind::Warning, printFailedMessage());
    close();
}

void SignatureFormWindow::btnAnnullaClick()
{
    close();
}

void SignatureFormWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        CommonParts::centreOver(this, parentWidget());
        btnAnnulla->setFocus();
    }
}

void SignatureFormWindow::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}
