#pragma once

#include "lists/PassLine.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <vector>

// The lines of a pass list, each with the 1-based position of its card in the card file, kept in
// the list order (PassLine::orderKey). Filled in one reset and sorted once, so that a list of tens
// of thousands of cards is built at once. The texts of the lines lie one after another in a few
// large blocks, not one allocation each: a list is written, sorted and freed in a handful of
// allocations, over memory read in order.
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

    // The lines of a list as a scan of the card file gathers them, in file order, for setLines.
    class Lines
    {
    public:
        // What a line is sorted on first: its first sixteen characters (a to z in upper case, 0 for
        // each past the end) as four numbers, which order as the lines do. Taken while the line is
        // written, so that the sort need not read the texts again.
        using Head = std::array<quint64, 4>;

        Lines();
        ~Lines();
        Lines(Lines&&) noexcept;
        Lines& operator=(Lines&&) noexcept;

        // Room for `count` lines (their texts take the blocks as they come).
        void reserve(qsizetype count);
        // The line of `card` in `form` (PassLine::build), for the card at `position`.
        void append(PassLine::Form form, const PassRecord& card, qint64 position);
        // The same from the card's record bytes (PassLine::RecordLine).
        void append(PassLine::Form form, const char* record, qint64 position);
        void append(QStringView line, qint64 position);
        qsizetype size() const { return qsizetype(m_lines.size()); }

    private:
        friend class PassLineModel;
        struct Line
        {
            const QChar* text;
            int length;
            int entry; // its place in the file order
            qint64 position;
            Head head;
        };
        // Room for a text of `length` characters, which stays where it is until the lines are freed.
        QChar* room(qsizetype length);
        // Frees the lines, their blocks kept for the next lines.
        void release();

        struct Block
        {
            std::unique_ptr<char16_t[]> chars;
            qsizetype size;
        };
        std::vector<Block> m_blocks;
        QChar* m_free = nullptr;
        qsizetype m_left = 0;
        std::vector<Line> m_lines;
    };

    explicit PassLineModel(QObject* parent = nullptr);
    ~PassLineModel() override;

    // Replaces the content, sorted into the list order; equal lines keep their file order.
    void setLines(Lines lines);
    void setEntries(const QList<Entry>& entries);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QString lineAt(int row) const { return lineView(row).toString(); }
    qint64 positionAt(int row) const { return m_lines.m_lines.at(size_t(row)).position; }
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
    QStringView lineView(int row) const
    {
        const Lines::Line& line = m_lines.m_lines.at(size_t(row));
        return QStringView(line.text, line.length);
    }
    bool lineContains(int row, const QString& lowered) const;

    Lines m_lines; // in the list order
    qsizetype m_longest = 0;
};
