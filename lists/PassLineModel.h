#pragma once

#include "lists/PassLine.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

class RecordFile;

// The lines of a pass list, each with the 1-based position of its card in the card file, kept in
// the list order (PassLine::orderKey). Filled in one reset and sorted once, so that a list of tens
// of thousands of cards is built at once. A card's line is kept as the few bytes of its fields
// that it shows (PassLine::RecordLine), and its text written only when it is asked for: a list
// shows a screenful of its lines, and sorting the kept bytes orders them as their texts. What is
// kept lies one line after another in a few large blocks, not one allocation each: a list is
// gathered, sorted and freed in a handful of allocations, over memory read in order.
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
        Lines();
        ~Lines();
        Lines(Lines&&) noexcept;
        Lines& operator=(Lines&&) noexcept;

        // Room for `count` lines (what they keep takes the blocks as it comes).
        void reserve(qsizetype count);
        // The line in `form` of the card whose record bytes are at `record`, at `position`.
        void append(PassLine::Form form, const char* record, qint64 position);
        // A line given as its text.
        void append(QStringView line, qint64 position);
        // The lines in `form` of the cards of `file` that `listed` accepts, after these, in file
        // order. The file is read in parts at once (RecordFile::readRangeInParts): `listed` runs
        // on the thread of each part and gets its number (below RecordFile::MostParts) for what
        // it keeps apart. False when the file could not be read to its end; the lines appended
        // are then those of the cards before the failure.
        bool appendCards(RecordFile& file, PassLine::Form form,
                         const std::function<bool(int part, const char* record)>& listed);
        qsizetype size() const { return qsizetype(m_lines.size()); }

        // What is kept of a line.
        enum class Kind : quint8
        {
            Text,
            Long, // a card's line in PassLine::Form::Long, kept as RecordLine keeps it
            Short,
        };
        struct Line
        {
            const char* data; // the characters of a text, or the bytes a RecordLine keeps
            qint64 position;
            int length; // of the line's text
            Kind kind;
        };

    private:
        friend class PassLineModel;
        // Room for `size` bytes, aligned for characters, which stays where it is until the lines
        // are freed.
        char* room(qsizetype size);
        // Frees the lines, their blocks kept for the next lines.
        void release();
        // Appends the lines of `later`, whose blocks move here.
        void join(Lines&& later);

        struct Block
        {
            std::unique_ptr<char[]> bytes;
            qsizetype size;
        };
        std::vector<Block> m_blocks;
        char* m_free = nullptr;
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

    QString lineAt(int row) const;
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
    const Lines::Line& line(int row) const { return m_lines.m_lines.at(size_t(row)); }
    // Whether the line of `row` contains `lowered` (see find); `text` is room the test may use.
    bool lineContains(int row, const QString& lowered, QString& text) const;

    Lines m_lines; // in the list order
    qsizetype m_longest = 0;
};
