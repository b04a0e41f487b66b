#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <initializer_list>

// The fields of a record that a window shows, each in one control. The one table serves both ways:
// showing a record puts each field's text into its control, and reading the controls puts each
// control's text into its field of a record, leaving the fields outside the table as that record
// holds them. So a window keeps the record it read and writes back the whole of it.
//
// An edit holds its text, a drop-down its current text, a label its text. A check box stands for a
// field of two values: shown, the text `on` ticks it, `off` clears it and any other text leaves it
// as it is; read, it gives `on` when ticked and `off` when not.
template <class Record> class FieldTable
{
public:
    struct Row
    {
        QString Record::*field;
        QWidget* control;
        QString on = {}; // the check box's two values
        QString off = {};
    };
    // How a stored text is turned into the text a control shows.
    using ScreenText = std::function<QString(const QString&)>;

    FieldTable() = default;
    FieldTable(std::initializer_list<Row> rows) : m_rows(rows) {}

    void append(const Row& row) { m_rows.append(row); }
    const QList<Row>& rows() const { return m_rows; }

    // Record to controls; `screenText`, when given, turns each stored text into the shown one.
    void show(const Record& record, const ScreenText& screenText = {}) const
    {
        for (const Row& row : m_rows) {
            const QString& stored = record.*row.field;
            put(row, screenText ? screenText(stored) : stored);
        }
    }

    // Controls to record: the fields of the table from their controls, the others untouched.
    void read(Record& record) const
    {
        for (const Row& row : m_rows)
            record.*row.field = take(row);
    }

    // What the controls show now, one text per row as read() would take it. Kept when a record is
    // shown, it tells later whether anything was changed on screen since.
    QStringList texts() const
    {
        QStringList out;
        for (const Row& row : m_rows)
            out << take(row);
        return out;
    }

private:
    static void put(const Row& row, const QString& text)
    {
        if (auto* edit = qobject_cast<QLineEdit*>(row.control))
            edit->setText(text);
        else if (auto* box = qobject_cast<QComboBox*>(row.control))
            box->setCurrentText(text);
        else if (auto* label = qobject_cast<QLabel*>(row.control))
            label->setText(text);
        else if (auto* check = qobject_cast<QCheckBox*>(row.control)) {
            if (text == row.on)
                check->setChecked(true);
            else if (text == row.off)
                check->setChecked(false);
        }
    }

    static QString take(const Row& row)
    {
        if (const auto* edit = qobject_cast<const QLineEdit*>(row.control))
            return edit->text();
        if (const auto* box = qobject_cast<const QComboBox*>(row.control))
            return box->currentText();
        if (const auto* label = qobject_cast<const QLabel*>(row.control))
            return label->text();
        if (const auto* check = qobject_cast<const QCheckBox*>(row.control))
            return check->isChecked() ? row.on : row.off;
        return QString();
    }

    QList<Row> m_rows;
};
