#pragma once

#include <QString>

// The full user guide as a PDF: a title page with the contents, then one section per guide page,
// laid out from the same texts the guide window shows. QtGui only; the build runs it through the
// guide-book tool to place Guida.pdf next to the executable.
namespace GuideBook {

// Writes the guide to `path`; false when the file cannot be written.
bool write(const QString& path);

} // namespace GuideBook
