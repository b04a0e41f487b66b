#pragma once

#include "printing/FormDocument.h"

#include <QStringList>

// The designs of the form documents.
namespace FormDesigns {

// The pass card "Scheda Pass": title strip "SCHEDA PASS", ten framed rows of label and value,
// a divider between labels and values, and the gold footer strip with `txtCalce`.
FormDesign card();

// The value boxes of the pass card, in row order: txtCodice, txtTipo, txtUtilizzo, txtStato,
// txtDuplicati, txtLuogo, txtResponsabile, txtRecapiti, txtPersone, txtNote.
QStringList cardValueBoxes();

} // namespace FormDesigns
