#pragma once

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class PackedFields;
class RecordFile;
class QCollator;

// The string grid of the export and history windows: column 0 is the row's number, columns 1 and
// on are texts of record fields. The field bytes are kept as the file holds them (Windows-1252,
// trimmed) and decoded only when a cell is shown or exported, so a grid of a million history
// records stays small and fills in one pass. Cells of the editable columns can be overwritten in
// place; such an edit lives in the grid only and never reaches a file.
class StringGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString title;
        int width;
        bool editable = false;
    };

    // Rows gathered outside the model and handed to it at once (one reset).
    class Rows
    {
    public:
        // `cells`: the texts of a row, without the number column.
        explicit Rows(int cells);

        // Room for `count` rows in all, made once.
        void reserve(qsizetype count) { m_rows.reserve(size_t(count)); }

        // A row numbered `number` (1 and up) from one record: one cell per field of `fields`, in
        // column order.
        void append(qint64 number, const char* record, const PackedFields& fields);
        // A row for each whole record of `file`, after these, numbered by its position. The file
        // is read in parts at once (RecordFile::readRangeInParts). False when it could not be read
        // to its end; the rows appended are then those of the records before the failure.
        bool appendRecords(RecordFile& file, const PackedFields& fields);
        // Rows with no number and empty cells, as a grid holds them before it is filled.
        void appendEmpty(int count);
        // Drops every row and keeps the room they took, for the rows appended next: a grid filled
        // again writes into the memory it has instead of asking the system for fresh pages.
        void clear();

        qsizetype size() const { return qsizetype(m_rows.size()); }
        // The text of cell `column` (1 and up) of row `row`, decoded and trimmed.
        QString text(qsizetype row, int column) const;

        // Orders the rows by the text of one column with the collator, ascending; rows of equal
        // keys keep their order. Every column moves with its row, the number included.
        void sortByColumn(int column, const QCollator& collator);

    private:
        friend class StringGridModel;
        struct Row
        {
            quint64 offset; // of the row's first cell: block number << 32 | place in the block; unused
                            // for an empty row
            quint32 number; // 0 for an empty row
            quint32 id;     // identity of the row for edits, unchanged by sorting
        };
        // Writes the cells of `record` into the blocks; the row's offset.
        quint64 place(const char* record, const PackedFields& fields);
        // The field bytes of a cell; a null view for a row with nothing in it.
        QByteArrayView cellAt(const Row& row, int column) const;

        int m_cells;
        std::vector<Row> m_rows;
        // The packed rows (PackedFields), one after another in blocks of a fixed room, each row
        // whole in one block: the rows of a large file are kept without the copies (and the
        // double room while copying) of one growing buffer.
        struct Block
        {
            std::unique_ptr<char[]> bytes; // zeroed when made, then each byte written once per filling
            size_t room = 0, used = 0;
        };
        std::vector<Block> m_blocks;
        size_t m_current = 0; // the block that takes the next row
    };

    explicit StringGridModel(QList<Column> columns, QObject* parent = nullptr);

    const QList<Column>& columns() const { return m_columns; }

    // Replaces every row (one model reset); edits made so far are dropped.
    void setRows(Rows rows);
    // Empties the grid (one model reset) and hands over its rows, to be cleared and filled again.
    Rows takeRows();

    // What the grid shows in a cell: the number for column 0 (empty for an unnumbered row), the
    // operator's text for an edited cell, else the field's text.
    QString cell(int row, int column) const;
    // The bytes of a cell that shows its field as read (Windows-1252, trimmed; none for a row with
    // nothing in it), to be written out with no text made on the way; nullopt for column 0 and for
    // an edited cell, which cell() gives.
    std::optional<QByteArrayView> fieldBytes(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool isCell(const QModelIndex& index) const;
    static quint64 editKey(quint32 id, int column) { return (quint64(id) << 8) | quint64(column); }

    QList<Column> m_columns;
    Rows m_rows;
    QHash<quint64, QString> m_edits;
};
