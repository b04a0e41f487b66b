#pragma once

#include "printing/Document.h"

#include <QStringList>

#include <memory>

// The one layout of every list document (the search results and the four pass lists): A4
// landscape; a title strip printed once at the start, the lines in a fixed-width font continuing
// over as many pages as they need, and a footer with the date of printing once after the last
// line.
namespace ListDocument {

inline constexpr double LineHeight = 12.822; // units per printed line of the body

// A new list document named "Riepilogo dati" with the bands `ReportTitle`, `MasterData` and
// `Footer` and the boxes `txtTitolo`, `txtRiepilogo` and `txtPagina`.
std::unique_ptr<Document> create();

// Puts the title and the lines (each unchanged, printed literally) into the document and sizes
// the body to them. False when the document lacks one of the list layout's objects.
bool fill(Document& document, const QString& title, const QStringList& lines);

} // namespace ListDocument
