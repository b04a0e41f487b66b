#include "registry/StampaScheda_Chiave.h"

#include "archives/Win1252.h"
#include "printing/FormDesigns.h"
#include "printing/FormDocument.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/PrintDocument.h"
#include "shell/ScreenKit.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString PrintFailed = u"Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                            u"Si consiglia di controllare le impostazioni della stampante."_s;

QLabel* picture(QWidget* parent, const QString& name, const QString& file, int side, const QString& spoken)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QIcon(u":/pictures/"_s + file + u".svg"_s).pixmap(QSize(side, side)));
    label->setFixedSize(side, side);
    ScreenKit::name(label, name, spoken);
    return label;
}

// A small information picture with its sentence beside it.
QWidget* information(QWidget* parent, const QString& name, const QString& text)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* icon = new QLabel(box);
    icon->setPixmap(QIcon(u":/pictures/info.svg"_s).pixmap(QSize(20, 20)));
    icon->setAlignment(Qt::AlignTop);
    auto* sentence = new QLabel(text, box);
    sentence->setWordWrap(true);
    sentence->setMinimumWidth(380); // two lines a sentence
    Look::setKind(sentence, Look::Kind::CardCaption);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(sentence, 1);
    ScreenKit::name(box, name, text);
    return box;
}

} // namespace

TfrmStampaScheda_Chiave::TfrmStampaScheda_Chiave(AppContext& ctx, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), repDocumento(FormDocument::create(FormDesigns::card()))
{
    setWindowTitle(u" Stampa scheda"_s);
    setObjectName(u"frmStampaScheda_Chiave"_s);
    Look::applyStyleSheet(this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* shpSfondo = new QFrame(this);
    ScreenKit::name(shpSfondo, u"shpSfondo"_s, u"Stampa scheda"_s);
    shpSfondo->setAutoFillBackground(true);
    QPalette white = shpSfondo->palette();
    white.setColor(QPalette::Window, Look::color(Look::Role::Sheet));
    shpSfondo->setPalette(white);
    outer->addWidget(shpSfondo);

    auto* column = new QVBoxLayout(shpSfondo);
    column->setContentsMargins(16, 16, 16, 14);
    column->setSpacing(12);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(picture(shpSfondo, u"imgLogo01"_s, u"stp_scheda"_s, 80, u"Scheda pass"_s), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    texts->addWidget(information(shpSfondo, u"icoInf01"_s,
                                 u"Questa operazione stampa su carta la scheda corrente con i dati inseriti "
                                 u"dall'utente."_s));
    texts->addWidget(information(shpSfondo, u"icoInf02"_s,
                                 u"Premere Stampa per avviare la stampa oppure Annulla per annullare "
                                 u"l'operazione."_s));
    texts->addStretch(1);
    top->addLayout(texts, 1);
    top->addWidget(picture(shpSfondo, u"imgSezione04"_s, u"stp_stampante"_s, 80, u"Stampante"_s), 0, Qt::AlignTop);
    column->addLayout(top);

    btnAnnulla = ScreenKit::newButton(u"Annulla"_s, u"btnAnnulla"_s, shpSfondo);
    btnStampa = ScreenKit::newButton(u"Stampa"_s, u"btnStampa"_s, shpSfondo);
    CommonParts::addDialogFoot(column, shpSfondo, {btnAnnulla, btnStampa}, 96);
    setTabOrder(btnAnnulla, btnStampa);
    ScreenKit::pressOnEscape(this, btnAnnulla);

    connect(btnStampa, &QPushButton::clicked, this, &TfrmStampaScheda_Chiave::btnStampaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmStampaScheda_Chiave::btnAnnullaClick);

    ScreenKit::makeFixedDialogFrame(this);
}

TfrmStampaScheda_Chiave::~TfrmStampaScheda_Chiave() = default;

void TfrmStampaScheda_Chiave::btnStampaClick()
{
    QList<std::pair<QString, QString>> values;
    for (const QString& box : FormDesigns::cardValueBoxes())
        values.append({box, Win1252::trimmed(m_values.value(box)).toString()});

    const bool filled = FormDocument::fill(*repDocumento, values, m_ctx.clock->now());
    if (!filled || printDocument(m_ctx, this, *repDocumento).failed())
        m_ctx.messages->notice(this, NoticeKind::Warning, PrintFailed);
    close();
}

void TfrmStampaScheda_Chiave::btnAnnullaClick()
{
    close();
}

void TfrmStampaScheda_Chiave::showEvent(QShowEvent* event)
{
    // Centred over the card editor.
    CommonParts::centreOver(this, parentWidget());
    QWidget::showEvent(event);
}
