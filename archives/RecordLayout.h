#pragma once

#include "archives/FieldCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <initializer_list>

// The layout of a record as a table of (member, capacity); offsets follow from the order.
template <typename Record, std::size_t N> struct RecordLayout
{
    static_assert(N <= 64, "a field set has one bit per field");
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

    // Where the field of `member` lies: the offset of its length byte, from the order of the table,
    // and its capacity. A member that is no field of the table has no place ({0, 0}).
    constexpr FieldPlace place(QString Record::*member) const
    {
        int offset = 0;
        for (const auto& f : fields) {
            if (f.member == member)
                return {offset, f.capacity};
            offset += f.capacity + 1;
        }
        return {};
    }

    QList<FieldPlace> places(std::initializer_list<QString Record::*> members) const
    {
        QList<FieldPlace> out;
        out.reserve(qsizetype(members.size()));
        for (auto m : members)
            out.append(place(m));
        return out;
    }

    Record decode(const char* bytes) const
    {
        Record r;
        decodeInto(bytes, r);
        return r;
    }

    // The set of the fields of `members`, for decodeInto.
    quint64 fieldSet(std::initializer_list<QString Record::*> members) const
    {
        quint64 set = 0;
        for (auto m : members) {
            for (std::size_t i = 0; i < N; ++i) {
                if (fields[i].member == m)
                    set |= quint64(1) << i;
            }
        }
        return set;
    }

    // Decodes into `r`, reusing the storage of its texts; only the fields of `set`, the others
    // left as they are.
    void decodeInto(const char* bytes, Record& r, quint64 set = ~quint64(0)) const
    {
        int offset = 0;
        for (std::size_t i = 0; i < N; ++i) {
            if (set & (quint64(1) << i))
                FieldCodec::readInto(r.*fields[i].member, bytes, offset, fields[i].capacity);
            offset += fields[i].capacity + 1;
        }
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
