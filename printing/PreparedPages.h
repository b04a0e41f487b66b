#pragma once

#include <QColor>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

// How a text box looks. Font sizes in points; colours fully opaque; an invalid fill colour
// means no fill.
struct TextStyle
{
    QString family = QStringLiteral("Arial");
    double pointSize = 8;
    bool bold = false;
    QColor colour = Qt::black;
    QColor fill;                                            // invalid: transparent
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop; // left or centred; top or vertically centred
    bool wordWrap = false;    // off: every line of the box prints on one line, cut at the right edge
    bool expressions = false; // on: "[DATE]" in the text becomes the date of printing

    bool operator==(const TextStyle&) const = default;
};

// One drawing order of a prepared page, in units from the top-left of the printable area.
struct PreparedItem
{
    enum class Kind
    {
        Text,
        Rectangle,
        Line
    };

    Kind kind = Kind::Rectangle;
    // Text: the box (or the part of it on this page); nothing is drawn outside it.
    // Rectangle: the shape, drawn with a thin black outline.
    // Line: the frame whose top edge (horizontal) or left edge (vertical) is the line.
    QRectF rect;
    QColor fill;                                  // Text and Rectangle; invalid: no fill
    Qt::Orientation orientation = Qt::Horizontal; // Line

    // Text only.
    QString name;      // the box's name
    QStringList lines; // the lines on this page, expressions already expanded
    TextStyle style;
    double firstLineTop = 0; // top of the first line
    double linePitch = 0;    // distance from one line to the next
};

struct PreparedPage
{
    QList<PreparedItem> items;
};

// A document laid out into pages, ready to be painted on any paged device.
struct PreparedDocument
{
    QString name; // the title the print job carries
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<PreparedPage> pages;

    qsizetype pageCount() const { return pages.size(); }
};
