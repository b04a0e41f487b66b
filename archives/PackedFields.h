#pragma once

#include "archives/FieldCodec.h"

#include <QByteArrayView>
#include <QList>

#include <vector>

// Chosen text fields of records, read straight from the record bytes into packed rows: per field, in
// the order chosen, a length byte and the field's text without the blanks around it, still in
// Windows-1252. The string grids keep a million records this way, in one pass over the file, and
// decode a text only when it is shown.
class PackedFields
{
public:
    // The fields at `places` (PassRecord::places, HistoryRecord::places).
    explicit PackedFields(QList<FieldPlace> places);

    int count() const { return int(m_places.size()); }
    // The most bytes appendRow adds for one record, whatever its fields hold.
    size_t maxRowBytes() const;

    // Appends the packed row of `record` to `out`. A damaged length byte never reaches past its
    // field.
    void appendRow(const char* record, std::vector<char>& out) const;
    // Writes the packed row of `record` at `out`, which has room for maxRowBytes(); returns the
    // bytes written. Nothing is cleared first: a grid of a million rows writes each byte once.
    size_t writeRow(const char* record, char* out) const;

    // Field `index` (0 for the first one chosen) of the packed row that starts at `row`.
    static QByteArrayView field(const char* row, int index)
    {
        for (int i = 0; i < index; ++i)
            row += 1 + uchar(*row);
        return QByteArrayView(row + 1, uchar(*row));
    }

private:
    QList<FieldPlace> m_places;
};
