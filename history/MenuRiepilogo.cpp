#include "history/MenuRiepilogo.h"

#include "archives/Win1252.h"
#include "history/Riepilogo.h"
#include "lists/RiepDaRiconsegnare.h"
#include "shell/Dates.h"
#include "shell/Guida.h"
#include "shell/Look.h"
#include "shell/Navigation.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include <new>

using namespace Qt::StringLiterals;

namespace {

const QString Paragraph = u"\n\r\n\r"_s;
const QString WaitingText = u"Caricamento riepilogo in corso. Attendere..."_s;

// Leading and trailing characters with a code of 32 or below go, as everywhere in the program.
QString trimmed(const QString& text)
{
    return Win1252::trimmed(text).toString();
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(Look::font(Look::FontRole::Caption));
    return label;
}

QComboBox* dropDown(const QString& objectName, const QString& spoken, const QStringList& items, int maxLength,
                    int width, QWidget* parent)
{
    auto* box = ScreenKit::named(new QComboBox(parent), objectName, spoken);
    ScreenKit::setUpDropDown(box, items);
    box->lineEdit()->setMaxLength(maxLength);
    // The edit inside the box too: a styled window hands no font down to the parts of a widget.
    box->setFont(Look::font(Look::FontRole::Prompt));
    box->lineEdit()->setFont(Look::font(Look::FontRole::Prompt));
    box->setFixedWidth(width);
    ScreenKit::installKeyFilter(box, ScreenKit::KeyFilter::ChoiceOnly);
    return box;
}

QLabel* yearLabel(const QString& objectName, const QString& spoken, QWidget* parent)
{
    auto* label = ScreenKit::named(new QLabel(u"ANNO"_s, parent), objectName, spoken);
    label->setFont(Look::font(Look::FontRole::Year));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(96);
    Look::setKind(label, Look::Kind::YearLabel);
    return label;
}

QGroupBox* periodGroup(const QString& objectName, const QString& title, QComboBox* day, QComboBox* month, QLabel* year,
                       QWidget* parent)
{
    auto* group = ScreenKit::named(new QGroupBox(title, parent), objectName, trimmed(title));
    group->setFont(Look::font(Look::FontRole::GroupTitle));
    Look::setKind(group, Look::Kind::PeriodGroup);
    day->setParent(group);
    month->setParent(group);
    year->setParent(group);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    grid->addWidget(caption(u"Giorno:"_s, group), 0, 0);
    grid->addWidget(caption(u"Mese:"_s, group), 0, 1);
    grid->addWidget(day, 1, 0);
    grid->addWidget(month, 1, 1);
    grid->addWidget(year, 0, 2, 2, 1, Qt::AlignBottom);
    return group;
}

} // namespace

TfrmMenuRiepilogo::TfrmMenuRiepilogo(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmMenuRiepilogo"_s, u"Ingressario - Storico Operazioni"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Storico Operazioni"_s);

    imgLogo = ScreenKit::named(new SvgPicture(u"app03"_s, this), u"imgLogo"_s, u"Storico Operazioni"_s);
    imgLogo->setPictureSize(QSize(150, 110));
    auto* heading = new QLabel(u"Storico Operazioni"_s, this);
    heading->setObjectName(u"imgTitolo"_s);
    heading->setFont(Look::font(Look::FontRole::Heading));
    Look::setKind(heading, Look::Kind::TextOnDark);

    // The year, with its frame and the lines that lead to the two ends of the period.
    auto* yearFrame = new QWidget(this);
    yearFrame->setObjectName(u"shpAnno"_s);
    yearFrame->setAttribute(Qt::WA_StyledBackground);
    titAnno = ScreenKit::named(new QLabel(u"Anno:"_s, yearFrame), u"titAnno"_s);
    titAnno->setFont(Look::font(Look::FontRole::Title));
    Look::setKind(titAnno, Look::Kind::Caption);
    txtAnno = ScreenKit::named(new QLineEdit(yearFrame), u"txtAnno"_s, u"Anno"_s);
    txtAnno->setFont(Look::font(Look::FontRole::Field));
    txtAnno->setAlignment(Qt::AlignCenter);
    txtAnno->setMaxLength(4);
    txtAnno->setFixedWidth(84);
    ScreenKit::installKeyFilter(txtAnno, ScreenKit::KeyFilter::DigitsOnly);
    auto* yearRow = new QHBoxLayout(yearFrame);
    yearRow->setContentsMargins(18, 10, 18, 10);
    yearRow->setSpacing(12);
    yearRow->addWidget(titAnno);
    yearRow->addWidget(txtAnno);

    txtGiornoInizio = dropDown(u"txtGiornoInizio"_s, u"Giorno di inizio"_s, Dates::dayItems(), 2, 70, this);
    txtMeseInizio = dropDown(u"txtMeseInizio"_s, u"Mese di inizio"_s, Dates::monthNames(), 9, 150, this);
    lblAnnoInizio = yearLabel(u"lblAnnoInizio"_s, u"Anno di inizio"_s, this);
    grpDataInizio = periodGroup(u"grpDataInizio"_s, u" Data inizio intervallo: "_s, txtGiornoInizio, txtMeseInizio,
                                lblAnnoInizio, this);
    txtGiornoFine = dropDown(u"txtGiornoFine"_s, u"Giorno di fine"_s, Dates::dayItems(), 2, 70, this);
    txtMeseFine = dropDown(u"txtMeseFine"_s, u"Mese di fine"_s, Dates::monthNames(), 9, 150, this);
    lblAnnoFine = yearLabel(u"lblAnnoFine"_s, u"Anno di fine"_s, this);
    grpDataFine =
        periodGroup(u"grpDataFine"_s, u" Data fine intervallo: "_s, txtGiornoFine, txtMeseFine, lblAnnoFine, this);
    auto* arrow = new SvgPicture(u"freccia"_s, this);
    arrow->setObjectName(u"imgFreccia"_s);
    arrow->setPictureSize(QSize(64, 40));

    btnRiepilogo =
        ScreenKit::named(new PictureButton(u"riepilogo"_s, this), u"btnRiepilogo"_s, u"Visualizza riepilogo"_s);
    btnRiepilogo->setText(u"Visualizza riepilogo"_s);
    btnRiepilogo->setFont(Look::font(Look::FontRole::GroupTitle));
    btnRiepilogo->setPictureSize(QSize(88, 88));
    lblAttendere = ScreenKit::named(new QLabel(WaitingText, this), u"lblAttendere"_s);
    lblAttendere->setFont(Look::font(Look::FontRole::Entry));
    lblAttendere->setAlignment(Qt::AlignCenter);
    QSizePolicy keepPlace = lblAttendere->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lblAttendere->setSizePolicy(keepPlace);
    lblAttendere->hide();
    ScreenKit::attachWaitingText(btnRiepilogo, lblAttendere);

    const QString linkText = u"Fare clic qui per visualizzare l'elenco dei pass non ancora riconsegnati"_s;
    lnkWeb = ScreenKit::named(new ScreenKit::LinkText(linkText, this), u"lnkWeb"_s, linkText);
    lnkWeb->setFont(Look::font(Look::FontRole::Link));
    cmdWeb = ScreenKit::named(new PictureButton(u"elenco_pass"_s, this), u"cmdWeb"_s, linkText);
    cmdWeb->setPictureSize(QSize(40, 40));
    ScreenKit::drivePressedLook(cmdWeb, lnkWeb);

    btnGuida = ScreenKit::named(new PictureButton(u"guida"_s, this), u"btnGuida"_s, u"Guida"_s);
    btnGuida->setPictureSize(QSize(48, 48));
    btnChiudi = ScreenKit::named(new PictureButton(u"esci"_s, this), u"btnChiudi"_s, u"Chiudi"_s);
    btnChiudi->setPictureSize(QSize(48, 48));
    // The pictures never take the focus from a field: a click on them leaves the fields as they are.
    for (PictureButton* picture : {btnRiepilogo, cmdWeb, btnGuida, btnChiudi})
        picture->setTakesFocus(false);
    // No status line here: the tooltips read the pictures' names with their keys.
    ScreenKit::addCommandKeys(nullptr, {{btnRiepilogo, QKeySequence(Qt::Key_F5)},
                                        {cmdWeb, QKeySequence(Qt::CTRL | Qt::Key_L)},
                                        {btnGuida, QKeySequence(Qt::Key_F1)},
                                        {btnChiudi, QKeySequence(Qt::Key_Escape)}});

    // Layout: a centred column over the shaded background, the guide and exit in the corner.
    auto* title = new QHBoxLayout;
    title->setSpacing(18);
    title->addStretch(1);
    title->addWidget(imgLogo);
    title->addWidget(heading);
    title->addStretch(1);

    auto* yearLine = new QHBoxLayout;
    yearLine->addStretch(1);
    yearLine->addWidget(yearFrame);
    yearLine->addStretch(1);

    auto* period = new QHBoxLayout;
    period->setSpacing(20);
    period->addStretch(1);
    period->addWidget(grpDataInizio);
    period->addWidget(arrow, 0, Qt::AlignVCenter);
    period->addWidget(grpDataFine);
    period->addStretch(1);

    auto* show = new QVBoxLayout;
    show->setSpacing(6);
    show->addWidget(btnRiepilogo, 0, Qt::AlignHCenter);
    show->addWidget(lblAttendere, 0, Qt::AlignHCenter);

    auto* link = new QHBoxLayout;
    link->setSpacing(10);
    link->addStretch(1);
    link->addWidget(cmdWeb);
    link->addWidget(lnkWeb);
    link->addStretch(1);

    auto* corner = new QHBoxLayout;
    corner->setSpacing(12);
    corner->addStretch(1);
    corner->addWidget(btnGuida);
    corner->addWidget(btnChiudi);

    auto* root = new QVBoxLayout(ScreenKit::fitToScreen(this));
    root->setContentsMargins(30, 24, 30, 20);
    root->setSpacing(22);
    root->addLayout(title);
    root->addStretch(1);
    root->addLayout(yearLine);
    root->addLayout(period);
    root->addLayout(show);
    root->addStretch(1);
    root->addLayout(link);
    root->addStretch(1);
    root->addLayout(corner);

    setTabOrder(txtAnno, txtGiornoInizio);
    setTabOrder(txtGiornoInizio, txtMeseInizio);
    setTabOrder(txtMeseInizio, txtGiornoFine);
    setTabOrder(txtGiornoFine, txtMeseFine);

    m_marks = new ScreenKit::FocusMarks(this, {{txtAnno, u"effAnno"_s},
                                               {txtGiornoInizio, u"effGiornoInizio"_s},
                                               {txtMeseInizio, u"effMeseInizio"_s},
                                               {txtGiornoFine, u"effGiornoFine"_s},
                                               {txtMeseFine, u"effMeseFine"_s}});
    (new ScreenKit::EnterChain(this))->cycle({txtAnno, txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine});

    connect(txtAnno, &QLineEdit::textChanged, this, &TfrmMenuRiepilogo::copyYear);
    for (QWidget* field :
         {static_cast<QWidget*>(txtAnno), static_cast<QWidget*>(txtGiornoInizio), static_cast<QWidget*>(txtMeseInizio),
          static_cast<QWidget*>(txtGiornoFine), static_cast<QWidget*>(txtMeseFine)})
        field->installEventFilter(this);

    connect(btnRiepilogo, &QAbstractButton::clicked, this, &TfrmMenuRiepilogo::btnRiepilogoClick);
    connect(lnkWeb, &QAbstractButton::clicked, this, &TfrmMenuRiepilogo::lnkWebClick);
    connect(cmdWeb, &QAbstractButton::clicked, this, &TfrmMenuRiepilogo::lnkWebClick);
    connect(btnGuida, &QAbstractButton::clicked, this, &TfrmMenuRiepilogo::btnGuidaClick);
    connect(btnChiudi, &QAbstractButton::clicked, this, &TfrmMenuRiepilogo::btnChiudiClick);

    setWindowState(windowState() | Qt::WindowMaximized);
    Navigation::returnToLauncherOnClose(this, m_ctx);
}

void TfrmMenuRiepilogo::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmMenuRiepilogo::paintEvent(QPaintEvent*)
{
    Look::paintShade(this, Look::Shade::History);
}

void TfrmMenuRiepilogo::FormShow()
{
    const QDateTime now = m_ctx.clock->now();
    const QString day = Dates::day(now);
    const QString month = Dates::monthName(now.date().month());
    txtGiornoInizio->setEditText(day);
    txtGiornoFine->setEditText(day);
    txtMeseInizio->setEditText(month);
    txtMeseFine->setEditText(month);
    for (QComboBox* box : {txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine})
        ScreenKit::resetSelection(box);
    const QString year = Dates::year(now);
    txtAnno->setText(year);
    lblAnnoInizio->setText(year);
    lblAnnoFine->setText(year);
    ScreenKit::moveFocus(txtAnno);
}

void TfrmMenuRiepilogo::copyYear()
{
    const QString year = trimmed(txtAnno->text());
    lblAnnoInizio->setText(year);
    lblAnnoFine->setText(year);
}

bool TfrmMenuRiepilogo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut)
        return QWidget::eventFilter(watched, event);
    // A list opening or another window taking the focus is no leaving of the field.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return QWidget::eventFilter(watched, event);
    if (watched == txtAnno) {
        copyYear();
    } else if (watched == txtGiornoInizio || watched == txtGiornoFine) {
        auto* box = static_cast<QComboBox*>(watched);
        if (!Dates::dayItems().contains(trimmed(box->currentText())))
            box->setEditText(QString());
    } else if (watched == txtMeseInizio || watched == txtMeseFine) {
        auto* box = static_cast<QComboBox*>(watched);
        if (Dates::monthNumber(box->currentText()).isEmpty())
            box->setEditText(QString());
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMenuRiepilogo::checkFailed(QWidget* focus)
{
    if (focus)
        ScreenKit::moveFocus(focus);
    ScreenKit::hideWaiting(lblAttendere);
}

void TfrmMenuRiepilogo::btnRiepilogoClick()
{
    m_startDate.clear();
    m_endDate.clear();
    Messages& messages = *m_ctx.messages;

    if (txtAnno->text().size() != 4) {
        messages.notice(this, NoticeKind::Warning, u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_s);
        return checkFailed(txtAnno);
    }
    const struct
    {
        QComboBox* field;
        QString message;
    } required[] = {
        {txtGiornoInizio,
         u"Attenzione: indicare il giorno di inizio intervallo selezionandolo dall'elenco a cascata."_s},
        {txtMeseInizio, u"Attenzione: indicare il mese di inizio intervallo selezionandolo dall'elenco a cascata."_s},
        {txtGiornoFine, u"Attenzione: indicare il giorno di fine intervallo selezionandolo dall'elenco a cascata."_s},
        {txtMeseFine, u"Attenzione: indicare il mese di fine intervallo selezionandolo dall'elenco a cascata."_s},
    };
    for (const auto& r : required) {
        if (trimmed(r.field->currentText()).isEmpty()) {
            messages.notice(this, NoticeKind::Warning, r.message);
            return checkFailed(r.field);
        }
    }

    // "dd/mm/yyyy" from the day, the month's number and the year label; nothing when the month
    // names no month.
    auto build = [](QComboBox* day, QComboBox* month, QLabel* year) -> QString {
        const QString number = Dates::monthNumber(month->currentText());
        if (number.isEmpty())
            return QString();
        return trimmed(day->currentText()) + Dates::DateSeparator + number + Dates::DateSeparator +
               trimmed(year->text());
    };
    const QString validDate = u"Per poter visualizzare il riepilogo è necessario indicare una data valida."_s;

    m_startDate = build(txtGiornoInizio, txtMeseInizio, lblAnnoInizio);
    const auto start = Dates::parseDate(m_startDate);
    if (!start) {
        messages.plain(this, u"Attenzione: la data "_s + m_startDate + u" di inizio intervallo non esiste."_s +
                                 Paragraph + validDate);
        return checkFailed(txtGiornoInizio);
    }
    m_endDate = build(txtGiornoFine, txtMeseFine, lblAnnoFine);
    const auto end = Dates::parseDate(m_endDate);
    if (!end) {
        messages.plain(this, u"Attenzione: la data "_s + m_endDate + u" di fine intervallo non esiste."_s + Paragraph +
                                 validDate);
        return checkFailed(txtGiornoFine);
    }
    if (*start > *end) {
        messages.plain(this, u"Attenzione: la data di fine intervallo ("_s + m_endDate +
                                 u") non può essere anteriore a quella di inizio intervallo ("_s + m_startDate +
                                 u")."_s + Paragraph +
                                 u"Per poter visualizzare il riepilogo è necessario indicare un intervallo di tempo "
                                 u"valido."_s);
        return checkFailed(nullptr);
    }

    // The view reads the history while the waiting text shows, before it appears; it hides the
    // waiting text when it closes.
    try {
        Navigation::runModal<TfrmRiepilogo>(this, m_ctx, [&](TfrmRiepilogo& view) {
            view.setInterval(m_startDate, m_endDate);
            connect(&view, &TfrmRiepilogo::hidden, this, [this] { ScreenKit::hideWaiting(lblAttendere); });
            view.FormShow();
        });
    } catch (const std::bad_alloc&) {
        // A period too large for the memory at hand: the view that could not be filled goes.
        qDeleteAll(findChildren<TfrmRiepilogo*>(Qt::FindDirectChildrenOnly));
        messages.plain(this, u"Attenzione: il file di archivio non risulta accessibile."_s);
        ScreenKit::hideWaiting(lblAttendere);
    }
}

void TfrmMenuRiepilogo::lnkWebClick()
{
    lnkWeb->setColour(Look::rgb(Look::Role::Link));
    Navigation::runModal<TfrmRiepDaRiconsegnare>(this, m_ctx);
}

void TfrmMenuRiepilogo::btnGuidaClick()
{
    TfrmGuida::openPage(this, m_ctx, GuideTopic::History);
}

void TfrmMenuRiepilogo::btnChiudiClick()
{
    close();
}
