#pragma once

#include <QList>
#include <QMargins>
#include <QString>

class QBoxLayout;
class QPushButton;
class QWidget;
namespace ScreenKit {
class LinkText;
}

// The parts built alike in the login, change-password and launcher windows, the guide, information
// and splash windows, and the card dialogs' foot; their colours and fonts are Look's.
namespace CommonParts {

// A link text in the link font and colours.
ScreenKit::LinkText* newLink(const QString& objectName, const QString& text, QWidget* parent = nullptr);

// A sheet (Look::Kind::Sheet): white, rounded, with a light edge.
QWidget* newSheet(const QString& objectName, const QString& accessibleName, QWidget* parent);

// The title band `shpTitolo` of the login and change-password windows (Look::Kind::TitleBand),
// with `picture` centred in it (the band becomes its parent).
QWidget* newTitleBand(QWidget* parent, QWidget* picture, const QMargins& margins);

// The "Chiudi" button of the small windows: it only closes its window. Enter presses it while it has
// the focus, and Escape anywhere in the window does too.
QPushButton* newCloseButton(QWidget* window);

// The foot of the card dialogs, added to `column`: the separator `shpSepara` and under it
// the buttons at the right, in the order given, each with the hand pointer and at least
// `minimumWidth` wide.
void addDialogFoot(QBoxLayout* column, QWidget* parent, const QList<QPushButton*>& buttons, int minimumWidth);

// Centres a window over the window of `over`, or on the screen when there is none.
void centreOver(QWidget* window, QWidget* over);

} // namespace CommonParts
