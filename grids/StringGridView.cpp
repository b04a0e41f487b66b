#include "grids/StringGridView.h"

#include "grids/StringGridModel.h"

#include <QHeaderView>
#include <QTableView>

namespace StringGrid {

void setUpView(QTableView* view, StringGridModel* model, int rowHeight)
{
    view->setModel(model);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    // Fixed rows: the view never measures a million rows one by one.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(rowHeight);
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    auto* header = view->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    const auto& columns = model->columns();
    for (int c = 0; c < columns.size(); ++c)
        view->setColumnWidth(c, columns[c].width);
}

} // namespace StringGrid
