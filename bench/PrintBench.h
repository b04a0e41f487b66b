#pragma once

#include <QString>
#include <QTextStream>

class BenchHarness;

// Painting the search list of every card (the longest printout the program makes) into a PDF
// printer, as the print button hands it to a printer: each line cut at the page's edge by
// measuring it glyph by glyph, and by counting characters where the font allows, by turns.
namespace PrintBench {

inline constexpr char Name[] = "print: search list of every card";

// Prepares the document from the card file of `folder`, paints it both ways `runs` times and
// reports the medians; checks that both ways give the same file. False when something failed.
bool run(QTextStream& out, const BenchHarness& harness, const QString& folder);

} // namespace PrintBench
