#include "operations/DateTimeBlock.h"

#include "operations/OperationKit.h"
#include "shell/Dates.h"
#include "shell/Look.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// The warnings of the date-time check, in the order of DateTimeBlock::Missing; withdrawal and
// return wording.
const std::array<std::array<QString, 2>, 7>& warnings()
{
    static const std::array<std::array<QString, 2>, 7> texts = {{
        {u"Attenzione: per salvare la scheda è necessario indicare il giorno del ritiro del pass."_s,
         u"Attenzione: per salvare la scheda è necessario indicare il giorno della riconsegna del pass."_s},
        {u"Attenzione: per salvare la scheda è necessario indicare il giorno del ritiro del pass usando due cifre."_s,
         u"Attenzione: per salvare la scheda è necessario indicare il giorno della riconsegna del pass usando due "
         u"cifre."_s},
        {u"Attenzione: per salvare la scheda è necessario indicare il mese del ritiro del pass."_s,
         u"Attenzione: per salvare la scheda è necessario indicare il mese della riconsegna del pass."_s},
        {u"Attenzione: per salvare la scheda è necessario indicare l'ora del ritiro del pass."_s,
         u"Attenzione: per salvare la scheda è necessario indicare l'ora della riconsegna del pass."_s},
        {u"Attenzione: per salvare la scheda è necessario indicare i minuti dell'ora del ritiro del pass."_s,
         u"Attenzione: per salvare la scheda è necessario indicare i minuti dell'ora della riconsegna del pass."_s},
        {u"Attenzione: per salvare la scheda è necessario indicare l'ora del ritiro del pass usando due cifre."_s,
         u"Attenzione: per salvare la scheda è necessario indicare l'ora della riconsegna del pass usando due "
         u"cifre."_s},
        {u"Attenzione: per salvare la scheda è necessario indicare i minuti dell'ora del ritiro del pass usando due "
         u"cifre."_s,
         u"Attenzione: per salvare la scheda è necessario indicare i minuti dell'ora della riconsegna del pass usando "
         u"due cifre."_s},
    }};
    return texts;
}

QString trimmedText(const QComboBox* box)
{
    return OperationKit::trimmed(box->currentText());
}

} // namespace

DateTimeBlock::DateTimeBlock(QWidget* screen, AppContext& ctx, Operation operation)
    : QObject(screen), m_ctx(ctx), m_operation(operation), m_screen(screen)
{
    grpData = static_cast<QGroupBox*>(buildDateGroup(screen));
    grpOra = static_cast<QGroupBox*>(buildTimeGroup(screen));
}

QString DateTimeBlock::suffix() const
{
    return m_operation == Operation::Withdrawal ? u"Rit"_s : u"Ric"_s;
}

QComboBox* DateTimeBlock::makeDropDown(QWidget* parent, const QString& role, const QStringList& items,
                                       const QString& designText, const QString& accessible)
{
    auto* box = ScreenKit::named(new QComboBox(parent), u"txt"_s + role + suffix(), accessible);
    ScreenKit::setUpDropDown(box, items, designText);
    box->setFont(Look::font(Look::FontRole::Field));
    box->lineEdit()->setFont(Look::font(Look::FontRole::Field));
    box->setMaxVisibleItems(12);
    ScreenKit::installKeyFilter(box, ScreenKit::KeyFilter::ChoiceClearable);
    ScreenKit::resetSelectionOnFocus(box);
    box->installEventFilter(this); // the exit rule
    return box;
}

QWidget* DateTimeBlock::buildDateGroup(QWidget* screen)
{
    const bool rit = m_operation == Operation::Withdrawal;
    auto* group = ScreenKit::named(new QGroupBox(rit ? u" Data ritiro: "_s : u" Data riconsegna: "_s, screen),
                                   u"grpDataRit"_s, rit ? u"Data ritiro"_s : u"Data riconsegna"_s);
    group->setFont(Look::font(Look::FontRole::Caption));

    txtGiorno = makeDropDown(group, u"Giorno"_s, Dates::dayItems(), QString(), u"Giorno"_s);
    txtMese = makeDropDown(group, u"Mese"_s, Dates::monthNames(), QString(), u"Mese"_s);
    lblAnno = ScreenKit::named(new QLabel(u"ANNO"_s, group), u"lblAnno"_s + suffix());
    ScreenKit::speakChangingText(lblAnno, u"Anno"_s); // the year of the pick
    lblAnno->setFont(Look::font(Look::FontRole::Year));
    lblAnno->setMinimumWidth(lblAnno->fontMetrics().horizontalAdvance(u"0000 "_s));

    impAdesso = ScreenKit::named(new PictureButton(u"op_adesso"_s, group), rit ? u"impRitiro"_s : u"impRiconsegna"_s,
                                 u"Inserisci la data e l'ora corrente"_s);
    impAdesso->setPictureSize(QSize(22, 22));
    impAdesso->setTakesFocus(false);
    connect(impAdesso, &QAbstractButton::clicked, this, &DateTimeBlock::nowAction);

    auto* giorno = new QLabel(u"Giorno:"_s, group);
    auto* mese = new QLabel(u"Mese:"_s, group);
    giorno->setBuddy(txtGiorno);
    mese->setBuddy(txtMese);
    txtGiorno->setMinimumWidth(txtGiorno->fontMetrics().horizontalAdvance(u"000"_s) + 40);
    txtMese->setMinimumWidth(txtMese->fontMetrics().horizontalAdvance(u"Settembre"_s) + 40);

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(12, 8, 8, 10);
    grid->setHorizontalSpacing(12);
    grid->addWidget(impAdesso, 0, 3, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(giorno, 0, 0, Qt::AlignBottom);
    grid->addWidget(mese, 0, 1, Qt::AlignBottom);
    grid->addWidget(txtGiorno, 1, 0);
    grid->addWidget(txtMese, 1, 1);
    grid->addWidget(lblAnno, 1, 2, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* DateTimeBlock::buildTimeGroup(QWidget* screen)
{
    const bool rit = m_operation == Operation::Withdrawal;
    auto* group = ScreenKit::named(new QGroupBox(rit ? u" Ora ritiro: "_s : u" Ora riconsegna: "_s, screen),
                                   u"grpOraRit"_s, rit ? u"Ora ritiro"_s : u"Ora riconsegna"_s);
    group->setFont(Look::font(Look::FontRole::Caption));

    txtOre = makeDropDown(group, u"Ore"_s, Dates::hourItems(), u"00"_s, u"Ore"_s);
    txtMinuti = makeDropDown(group, u"Minuti"_s, Dates::minuteItems(), u"00"_s, u"Minuti"_s);
    for (QComboBox* box : {txtOre, txtMinuti})
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(u"000"_s) + 40);

    auto* ore = new QLabel(u"Ore:"_s, group);
    auto* minuti = new QLabel(u"Minuti:"_s, group);
    ore->setBuddy(txtOre);
    minuti->setBuddy(txtMinuti);
    auto* colon = new QLabel(u":"_s, group);
    colon->setFont(Look::font(Look::FontRole::Field));

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(12, 8, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->addWidget(ore, 0, 0, Qt::AlignBottom);
    grid->addWidget(minuti, 0, 2, Qt::AlignBottom);
    grid->addWidget(txtOre, 1, 0);
    grid->addWidget(colon, 1, 1);
    grid->addWidget(txtMinuti, 1, 2);
    return group;
}

void DateTimeBlock::fillNow(const QDateTime& moment)
{
    txtGiorno->setCurrentText(Dates::day(moment));
    txtMese->setCurrentText(Dates::monthName(moment.date().month()));
    txtOre->setCurrentText(Dates::hour(moment));
    txtMinuti->setCurrentText(Dates::minute(moment));
}

void DateTimeBlock::nowAction()
{
    fillNow(m_ctx.clock->now());
}

void DateTimeBlock::clear()
{
    for (QComboBox* box : dropDowns())
        box->setCurrentText(QString());
    m_date.clear();
    m_time.clear();
}

void DateTimeBlock::resetSelections()
{
    for (QComboBox* box : dropDowns())
        ScreenKit::resetSelection(box);
}

QString DateTimeBlock::warning(Operation operation, Missing missing)
{
    return warnings()[size_t(missing)][operation == Operation::Withdrawal ? 0 : 1];
}

QString DateTimeBlock::monthWarning()
{
    return u"Attenzione: selezionare il mese dal menu a cascata.\n\r\n\r"
           u"Per poter salvare la scheda è necessario indicare una data valida."_s;
}

QString DateTimeBlock::missingDateMessage(const QString& date)
{
    return u"Attenzione: la data "_s + OperationKit::trimmed(date) +
           u" non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data valida."_s;
}

QWidget* DateTimeBlock::parentWindow() const
{
    return m_screen->window();
}

bool DateTimeBlock::fail(Missing missing, QComboBox* field)
{
    m_ctx.messages->notice(parentWindow(), NoticeKind::Warning, warning(m_operation, missing));
    ScreenKit::moveFocus(field);
    return false;
}

bool DateTimeBlock::check()
{
    const QString day = trimmedText(txtGiorno);
    const QString hour = trimmedText(txtOre);
    const QString minutes = trimmedText(txtMinuti);

    if (day.isEmpty())
        return fail(Missing::Day, txtGiorno);
    if (day.size() < 2)
        return fail(Missing::TwoDigitDay, txtGiorno);
    if (trimmedText(txtMese).isEmpty())
        return fail(Missing::Month, txtMese);
    if (hour.isEmpty())
        return fail(Missing::Hour, txtOre);
    if (minutes.isEmpty())
        return fail(Missing::Minutes, txtMinuti);
    if (hour.size() < 2)
        return fail(Missing::TwoDigitHour, txtOre);
    if (minutes.size() < 2)
        return fail(Missing::TwoDigitMinutes, txtMinuti);

    // The time is composed before the month is looked at, and stays composed if a later step fails.
    m_time = hour + u':' + minutes;

    const QString month = Dates::monthNumber(txtMese->currentText());
    if (month.isEmpty()) {
        m_ctx.messages->notice(parentWindow(), NoticeKind::Warning, monthWarning());
        ScreenKit::moveFocus(txtMese);
        return false;
    }

    m_date = day + u'/' + month + u'/' + OperationKit::trimmed(lblAnno->text());
    if (!Dates::isValidDate(m_date)) {
        m_ctx.messages->plain(parentWindow(), missingDateMessage(m_date));
        ScreenKit::moveFocus(txtGiorno);
        return false;
    }
    return true;
}

bool DateTimeBlock::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving a drop-down keeps its text only when it is exactly one of its items. Opening the list
    // or switching to another window is not leaving it.
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        auto* box = qobject_cast<QComboBox*>(watched);
        if (box && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            const QString text = trimmedText(box);
            if (!text.isEmpty() && box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
                box->setCurrentText(QString());
        }
    }
    return QObject::eventFilter(watched, event);
}
