#pragma once

#include "archives/FieldCodec.h"

#include <QByteArray>
#include <QString>

#include <array>

// The layout of a record as a table of (member, capacity); offsets follow from the order.
template <typename Record, std::size_t N> struct RecordLayout
{
    struct Field
    {
        QString Record::*member;
        int capacity;
    };
    std::array<Field, N> fields;

    static constexpr int sizeOf(const std::array<Field, N>& f)
    {
        int total = 0;
        for (const auto& x : f)
            total += x.capacity + 1;
        return total;
    }

    Record decode(const char* bytes) const
    {
        Record r;
        int offset = 0;
        for (const auto& f : fields) {
            r.*f.member = FieldCodec::read(bytes, offset, f.capacity);
            offset += f.capacity + 1;
        }
        return r;
    }

    QByteArray encode(const Record& r) const
    {
        QByteArray out(sizeOf(fields), '\0');
        int offset = 0;
        for (const auto& f : fields) {
            FieldCodec::write(out.data(), offset, f.capacity, r.*f.member);
            offset += f.capacity + 1;
        }
        return out;
    }
};
