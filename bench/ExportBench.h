#pragma once

#include <QString>
#include <QTextStream>

class BenchHarness;

// The two files an export writes from its grid, by turns in the same run: the HTML document (.xls)
// and the workbook (.xlsx), each whole, synced and renamed into place as the export writes it. For
// the card export of every card and for the history view of one year.
namespace ExportBench {

inline constexpr char Name[] = "export files";

// Fills both grids from the files of `folder`, writes both files of each `runs` times by turns and
// reports the medians, their ratio and the sizes. False when a write failed.
bool run(QTextStream& out, const BenchHarness& harness, const QString& folder);

} // namespace ExportBench
