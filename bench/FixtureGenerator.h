#pragma once

#include <QString>

// Writes card and history files of realistic content for benchmarks and scale checks:
// Italian names and places, types such as Badge, Tessera, Chiave (now and then typed in another
// letter case), dates spread over ten years, some lost and some lent cards (and a few lost flags
// left empty), fields of varied lengths up to their capacities, a few accented letters, bytes of
// older texts left after the new ones as rewritten cards hold them; the history in the order of
// the returns. The same seed always gives the same bytes.
namespace FixtureGenerator {

bool writeCardFile(const QString& path, qint64 cards, quint32 seed);
bool writeHistoryFile(const QString& path, qint64 records, quint32 seed);

} // namespace FixtureGenerator
