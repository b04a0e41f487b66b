#pragma once

#include <QListView>

class PassLineModel;

// The list box of the pass lines: one line per card in "Courier New" 12, black, drawn plainly so
// that the columns line up; single selection; both scroll bars shown, the lines laid out at least
// 1600 units wide and as wide as the longest line, so long lines scroll sideways.
class PassListBox : public QListView
{
    Q_OBJECT
public:
    explicit PassListBox(PassLineModel* model, QWidget* parent = nullptr);

    PassLineModel* lines() const { return m_model; }

    // The selected row, or -1 when no line is selected.
    int selectedRow() const;
    // Selects one row (or clears the selection for -1) and scrolls it into view.
    void selectRow(int row);

    // The width in pixels at which the lines are laid out.
    int layoutWidth() const;

signals:
    // A double-click anywhere in the list, on a line or below the last one.
    void doubleClickedAnywhere();
    // Enter (Return or the keypad's Enter) while a line is selected: the keyboard's double-click.
    void enterOnLine();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool belowTheLines(const QMouseEvent* event) const;

    PassLineModel* m_model;
    // The mouse button went down where there is no line: until it is released, the view's own
    // handling (which would clear the selection) stays out of it.
    bool m_pressBelowTheLines = false;
};
