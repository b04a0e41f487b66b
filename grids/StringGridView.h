#pragma once

class QTableView;
class StringGridModel;

namespace StringGrid {

// Sets a table view up as a string grid over the model: header row with the column titles, fixed
// rows of `rowHeight`, alternating row backgrounds, the columns' widths, no row header. Typing in
// a cell of an editable column overwrites it, as in a spreadsheet.
void setUpView(QTableView* view, StringGridModel* model, int rowHeight);

} // namespace StringGrid
