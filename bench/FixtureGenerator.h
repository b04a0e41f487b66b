#pragma once

#include <QString>

// Writes card and history files of realistic content for benchmarks and scale checks:
// Italian names and places, types such as Badge, Tessera, Chiave, dates spread over ten years,
// some lost and some lent cards, fields of varied lengths up to their capacities, a few accented
// letters. The same seed always gives the same bytes.
namespace FixtureGenerator {

bool writeCardFile(const QString& path, qint64 cards, quint32 seed);
bool writeHistoryFile(const QString& path, qint64 records, quint32 seed);

} // namespace FixtureGenerator
