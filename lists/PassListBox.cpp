#include "lists/PassListBox.h"

#include "lists/PassLineModel.h"
#include "shell/Look.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace {

constexpr int MinimumLayoutWidth = 1600;
constexpr int TextMargin = 4;

// Draws a line as plain text, without the style's item decoration, so that every character sits
// in its column; a selected line is shown in the selection colours.
class PlainLineDelegate : public QStyledItemDelegate
{
public:
    PlainLineDelegate(PassListBox* box) : QStyledItemDelegate(box), m_box(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        if (selected)
            painter->fillRect(option.rect, pal.brush(QPalette::Active, QPalette::Highlight));
        painter->setFont(option.font);
        const QColor text =
            selected ? pal.color(QPalette::Active, QPalette::HighlightedText) : Look::color(Look::Role::ListText);
        painter->setPen(text);
        const QRect textRect = option.rect.adjusted(TextMargin, 0, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        if ((option.state & QStyle::State_HasFocus) && m_box->hasFocus()) {
            QPen dotted(text);
            dotted.setStyle(Qt::DotLine);
            painter->setPen(dotted);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        const QFontMetrics fm(option.font);
        return {m_box->layoutWidth(), fm.height() + 2};
    }

private:
    PassListBox* m_box;
};

} // namespace

PassListBox::PassListBox(PassLineModel* model, QWidget* parent) : QListView(parent), m_model(model)
{
    setFont(Look::font(Look::FontRole::PassList));
    QPalette pal = palette();
    pal.setColor(QPalette::Text, Look::color(Look::Role::ListText));
    pal.setColor(QPalette::Base, Look::color(Look::Role::ListBase));
    setPalette(pal);

    setModel(model);
    setItemDelegate(new PlainLineDelegate(this));
    // Every line has the same height and width: the view measures one and lays out the rest.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
}

int PassListBox::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void PassListBox::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

int PassListBox::layoutWidth() const
{
    const QFontMetrics fm(font());
    const int longest = int(m_model->longestLine()) * fm.horizontalAdvance(u'M') + 2 * TextMargin;
    return std::max(MinimumLayoutWidth, longest);
}

bool PassListBox::belowTheLines(const QMouseEvent* event) const
{
    return !indexAt(event->position().toPoint()).isValid();
}

// A click where there is no line, below the last one, leaves the chosen line chosen: a double-click
// there hands over that line, so the single click that starts it must not clear the selection, as
// the view would.
void PassListBox::mousePressEvent(QMouseEvent* event)
{
    m_pressBelowTheLines = belowTheLines(event);
    if (m_pressBelowTheLines) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void PassListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressBelowTheLines && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QListView::mouseMoveEvent(event);
}

void PassListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressBelowTheLines) {
        m_pressBelowTheLines = false;
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void PassListBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && selectedRow() >= 0) {
        event->accept();
        emit enterOnLine();
        return;
    }
    QListView::keyPressEvent(event);
}

void PassListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double-click on a line first makes it the selected one, as a single click would.
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAnywhere();
    event->accept();
}
