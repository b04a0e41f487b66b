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

// The date and time of an operation: day, month, hour and minute drop-downs, the year label, the
// now picture and the two hidden labels into which the checked date and time are composed.
//
// An operation screen holds two blocks: the visible one of its own operation, in the two group
// boxes `grpDataRit` and `grpOraRit`, and a hidden copy of the other operation's (drop-downs and
// labels only) that carries the card's values of that operation from the pick to Apply.
class DateTimeBlock : public QObject
{
    Q_OBJECT
public:
    enum class Role
    {
        Visible,
        Carriers
    };

    DateTimeBlock(QWidget* screen, AppContext& ctx, Operation operation, Role role);

    Operation operation() const { return m_operation; }
    Role role() const { return m_role; }
    QString suffix() const; // "Rit" or "Ric"

    // Controls, named `txtGiornoRit`, `lblAnnoRit`, ... after the operation.
    QComboBox* txtGiorno = nullptr;
    QComboBox* txtMese = nullptr;
    QComboBox* txtOre = nullptr;
    QComboBox* txtMinuti = nullptr;
    QLabel* lblAnno = nullptr;
    QLabel* lblData = nullptr; // hidden: the composed date
    QLabel* lblOra = nullptr;  // hidden: the composed time
    // Only in the visible block:
    QGroupBox* grpData = nullptr;
    QGroupBox* grpOra = nullptr;
    PictureButton* impAdesso = nullptr; // `impRitiro` / `impRiconsegna`

    QList<QComboBox*> dropDowns() const { return {txtGiorno, txtMese, txtOre, txtMinuti}; }

    // Day, month, hour and minutes from the moment; the year is left alone.
    void fillNow(const QDateTime& moment);
    // The now picture's click: fillNow with the clock's moment.
    void nowAction();

    // Empties day, month, hour, minutes and the two composed labels (the year stays).
    void clear();

    // No item of the four lists highlighted; the texts stay.
    void resetSelections();

    // The date-time check (without the selection reset, which the screen does for both of its
    // blocks first). On success the composed date and time are in lblData and lblOra; on failure
    // the message has been shown and the focus moved.
    bool check();

    // The warnings of the check for this block's operation, D1 to D7 in order.
    static QString warning(Operation operation, int number);

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
    bool fail(int number, QComboBox* field); // shows Dn, moves the focus, gives false
    QWidget* parentWindow() const;

    AppContext& m_ctx;
    Operation m_operation;
    Role m_role;
    QWidget* m_screen;
};
