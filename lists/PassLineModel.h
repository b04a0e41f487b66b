#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

// The lines of a pass list, each with the 1-based position of its card in the card file, kept in
// the list order (PassLine::orderKey). Filled in one reset and sorted once, so that a list of tens
// of thousands of cards is built at once.
class PassLineModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role
    {
        PositionRole = Qt::UserRole + 1
    };

    struct Entry
    {
        QString line;
        qint64 position = 0;
    };

    explicit PassLineModel(QObject* parent = nullptr);

    // Replaces the content, sorted into the list order; equal lines keep their file order.
    void setEntries(QList<Entry> entries);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QString& lineAt(int row) const { return m_entries.at(row).line; }
    qint64 positionAt(int row) const { return m_entries.at(row).position; }
    QStringList lines() const;
    // The length, in characters, of the longest line.
    qsizetype longestLine() const { return m_longest; }

    // Find in the list: the row to select after a press of "Trova" with `typed` in the find field,
    // given the selected row (-1 for none) and the text remembered from the previous press, which
    // is updated. Needs a non-empty list. A new text starts at the first line; the same text walks
    // on from the line after the selected one, wraps to the top and tests the selected line last.
    // An empty text matches nothing. When nothing matches, the selection stays (the first line
    // when none was selected).
    int find(int selectedRow, const QString& typed, QString& remembered) const;

    // The row of the one line whose code equals `typed` (blanks around it and the letter case of
    // A to Z ignored, as the find ignores them); -1 when no line or more than one has that code.
    int rowOfCode(const QString& typed) const;

private:
    bool lineContains(int row, const QString& lowered) const;

    QList<Entry> m_entries;
    qsizetype m_longest = 0;
};
