#pragma once

// What a screen reader reads for a widget: the name and the description of its accessible
// interface, as the reader asks for them. (Offscreen there is no accessibility bridge, and Qt tells
// no reader of changes then; what a reader asks for is what the tests check.)

#include <QAccessible>
#include <QString>
#include <QWidget>

namespace Spoken {

inline QString name(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

inline QString description(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Description) : QStringLiteral("<no interface>");
}

// The value a reader tells after the name: the text of a drop-down or an edit.
inline QString value(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Value) : QStringLiteral("<no interface>");
}

} // namespace Spoken
