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

// The look shared by the login, change-password and launcher windows, the guide, information and
// splash windows, and the card dialogs' foot.
namespace ShellLook {

// Fills the widget with the screens' background: steel blue at the top shading to white at the foot.
void paintShade(QWidget* widget);

// A link text in "Tahoma" 14, underlined, dark blue at rest (orange while pressed).
ScreenKit::LinkText* newLink(const QString& objectName, const QString& text, QWidget* parent = nullptr);

// A white rounded sheet with a light steel-blue edge.
QWidget* newSheet(const QString& objectName, const QString& accessibleName, QWidget* parent);

// The title band `shpTitolo` of the login and change-password windows: dark blue shading to steel
// blue, with `picture` centred in it (the band becomes its parent).
QWidget* newTitleBand(QWidget* parent, QWidget* picture, const QMargins& margins);

// The "Chiudi" button of the small windows: it only closes its window. Enter presses it while it has
// the focus, and Escape anywhere in the window does too.
QPushButton* newCloseButton(QWidget* window);

// The foot of the card dialogs, added to `column`: the steel-blue separator `shpSepara` and under it
// the buttons at the right, in the order given, each with the hand pointer and at least
// `minimumWidth` wide.
void addDialogFoot(QBoxLayout* column, QWidget* parent, const QList<QPushButton*>& buttons, int minimumWidth);

// Centres a window over the window of `over`, or on the screen when there is none.
void centreOver(QWidget* window, QWidget* over);

} // namespace ShellLook
