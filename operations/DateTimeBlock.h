#pragma once

#include "shell/AppContext.h"

#include <QList>
#include <QObject>
#include <QString>

class PictureButton;
class QComboBox;
class QDateTime;
class QGroupBox;
class QLabel;
class QWidget;

// The two operations on a pass. Their controls carry the suffix "Rit" (withdrawal) or "Ric" (return).
enum class Operation
{
    Withdrawal,
    Return
};

// The date and time of an operation on its screen, in the two group boxes `grpDataRit` and
// `grpOraRit`: day, month, hour and minute drop-downs, the year label and the now picture. The check
// composes the date ("dd/mm/yyyy") and the time ("hh:mm") that the card stores.
class DateTimeBlock : public QObject
{
    Q_OBJECT
public:
    DateTimeBlock(QWidget* screen, AppContext& ctx, Operation operation);

    Operation operation() const { return m_operation; }
    QString suffix() const; // "Rit" or "Ric"

    // Controls, named `txtGiornoRit`, `lblAnnoRit`, ... after the operation.
    QComboBox* txtGiorno = nullptr;
    QComboBox* txtMese = nullptr;
    QComboBox* txtOre = nullptr;
    QComboBox* txtMinuti = nullptr;
    QLabel* lblAnno = nullptr;
    QGroupBox* grpData = nullptr;
    QGroupBox* grpOra = nullptr;
    PictureButton* impAdesso = nullptr; // `impRitiro` / `impRiconsegna`

    QList<QComboBox*> dropDowns() const { return {txtGiorno, txtMese, txtOre, txtMinuti}; }

    // Day, month, hour and minutes from the moment; the year is left alone.
    void fillNow(const QDateTime& moment);
    // The now picture's click: fillNow with the clock's moment.
    void nowAction();

    // Empties day, month, hour, minutes and the composed date and time (the year stays).
    void clear();

    // No item of the four lists highlighted; the texts stay.
    void resetSelections();

    // The date-time check (without the selection reset, which the screen does first). On success
    // the date and time are composed; on failure the message has been shown and the focus moved.
    bool check();
    // The date and time as the latest check composed them; the time is composed before the month
    // is looked at, so a check that fails on the month or the date leaves only the time.
    QString date() const { return m_date; }
    QString time() const { return m_time; }

    // What the check finds missing in the date or the time, in the order it looks.
    enum class Missing
    {
        Day,            // no day
        TwoDigitDay,    // a day of one digit
        Month,          // no month
        Hour,           // no hour
        Minutes,        // no minutes
        TwoDigitHour,   // an hour of one digit
        TwoDigitMinutes // minutes of one digit
    };
    // The warning for what is missing, in the wording of the operation.
    static QString warning(Operation operation, Missing missing);

    // Shown when the month is not one of the twelve names, and when the date does not exist.
    static QString monthWarning();
    static QString missingDateMessage(const QString& date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* makeDropDown(QWidget* parent, const QString& role, const QStringList& items, const QString& designText,
                            const QString& accessible);
    QWidget* buildDateGroup(QWidget* screen);
    QWidget* buildTimeGroup(QWidget* screen);
    bool fail(Missing missing, QComboBox* field); // warns, moves the focus, gives false
    QWidget* parentWindow() const;

    AppContext& m_ctx;
    Operation m_operation;
    QWidget* m_screen;
    QString m_date;
    QString m_time;
};
