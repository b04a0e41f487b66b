// Record decoders and record files fed with arbitrary bytes: no crash, no read outside a record,
// and what is read survives being written back.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"
#include "fuzz/FuzzSupport.h"

#include <cstdint>
#include <memory>

namespace {

using Fuzz::check;
using Fuzz::folder;

// The input laid over a buffer of exactly one record, repeated as needed, so that every length
// byte takes fuzzed values and a read past the record leaves its heap block.
template <typename Record> void decodeTiled(const uint8_t* data, size_t size)
{
    const auto bytes = std::make_unique<char[]>(Record::Size);
    for (int i = 0; i < Record::Size; ++i)
        bytes[i] = char(data[size_t(i) % size]);
    const Record r = Record::decode(bytes.get());
    // Decoded texts are trimmed code-page text within capacity: encoding them again is lossless.
    const QByteArray again = r.encode();
    check(again.size() == Record::Size);
    check(Record::decode(again.constData()) == r);
}

// The input as a whole data file: count, stream, read back, rewrite and append.
template <typename File, typename Record> void asFile(const char* name, const uint8_t* data, size_t size)
{
    Fuzz::writeFile(name, data, size);
    File file(folder());
    check(file.open());
    const qint64 count = file.count();
    check(count == qint64(size) / Record::Size);
    qint64 visited = 0;
    Record last;
    check(file.readInOrder([&](qint64 position, const Record& r) {
        check(position == ++visited);
        last = r;
        return true;
    }));
    check(visited == count);
    if constexpr (std::is_same_v<Record, PassRecord>) {
        if (count > 0) {
            check(file.readAt(count) == std::optional<PassRecord>(last));
            check(file.rewriteAt(count, last));
            check(file.readAt(count) == std::optional<PassRecord>(last));
        }
    }
    check(file.append(last) == std::optional<qint64>(count + 1));
    check(file.count() == count + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    decodeTiled<PassRecord>(data, size);
    decodeTiled<HistoryRecord>(data, size);
    asFile<CardFile, PassRecord>(CardFile::FileName, data, size);
    asFile<HistoryFile, HistoryRecord>(HistoryFile::FileName, data, size);
    return 0;
}
