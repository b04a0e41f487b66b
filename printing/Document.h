#pragma once

#include "printing/PreparedPages.h"

#include <QDate>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The printed document model: a named document with one A4 page design made of named text
// boxes, shapes and lines, placed directly on the page (form documents) or on bands (list
// documents). A screen finds boxes by name, fills them, prepares the document and prints it.
// Measures are in units of 1/96 inch (see Units.h).

class ReportObject
{
public:
    enum class Kind
    {
        TextBox,
        Shape,
        Line,
        Band
    };

    virtual ~ReportObject() = default;
    ReportObject(const ReportObject&) = delete;
    ReportObject& operator=(const ReportObject&) = delete;

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    // Left, top, width and height; for an object on a band, relative to the band's top.
    const QRectF& geometry() const { return m_geometry; }
    double height() const { return m_geometry.height(); }
    // The new height, in units; negative heights count as 0.
    void setHeight(double height);

protected:
    ReportObject(Kind kind, const QString& name, const QRectF& geometry);

    QRectF m_geometry;

private:
    Kind m_kind;
    QString m_name;
};

// A text box ("memo"): lines of text in one style.
class TextBox final : public ReportObject
{
public:
    TextBox(const QString& name, const QRectF& geometry, const TextStyle& style, const QString& text = QString());

    const TextStyle& style() const { return m_style; }
    void setStyle(const TextStyle& style) { m_style = style; }

    // Replaces all lines with the text; a line break in it starts a new line.
    void setText(const QString& text);
    // The lines joined by line feeds.
    QString text() const { return m_lines.join(u'\n'); }
    const QStringList& lines() const { return m_lines; }
    void clearLines() { m_lines.clear(); }
    void addLine(const QString& line) { m_lines.append(line); }
    qsizetype lineCount() const { return m_lines.size(); }

    // Distance from one line to the next; by default 1.2 times the font's size.
    double linePitch() const { return m_linePitch; }
    void setLinePitch(double pitch) { m_linePitch = pitch; }

private:
    TextStyle m_style;
    QStringList m_lines;
    double m_linePitch;
};

// A rectangle with a thin black outline, filled or not.
class Shape final : public ReportObject
{
public:
    Shape(const QString& name, const QRectF& geometry, const QColor& fill = QColor());
    const QColor& fill() const { return m_fill; }

private:
    QColor m_fill; // invalid: no fill
};

// A thin black line from a start point, drawn as the top edge (horizontal) or the left edge
// (vertical) of its frame.
class LineObject final : public ReportObject
{
public:
    LineObject(const QString& name, const QPointF& start, double length, Qt::Orientation orientation);
    Qt::Orientation orientation() const { return m_orientation; }

private:
    Qt::Orientation m_orientation;
};

// A band of a list document: a strip as wide as the printable area holding objects placed
// relative to its top. Bands print in the order of their kinds.
class Band final : public ReportObject
{
public:
    enum class BandKind
    {
        ReportTitle,
        MasterData,
        Footer
    };

    Band(const QString& name, BandKind bandKind, double height, bool maySplit);

    BandKind bandKind() const { return m_bandKind; }
    // Whether the band may continue on the next page when it does not fit on this one.
    bool maySplit() const { return m_maySplit; }

    template <class T> T* add(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        m_objects.push_back(std::move(object));
        return raw;
    }
    const std::vector<std::unique_ptr<ReportObject>>& objects() const { return m_objects; }

private:
    BandKind m_bandKind;
    bool m_maySplit;
    std::vector<std::unique_ptr<ReportObject>> m_objects;
};

// The page design: A4, margins of 10 mm, portrait or landscape.
class Page
{
public:
    explicit Page(QPageLayout::Orientation orientation) : m_orientation(orientation) {}

    QPageLayout::Orientation orientation() const { return m_orientation; }
    // Orientation for the next preparation.
    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }
    double printableWidth() const;
    double printableHeight() const;

    // Objects placed directly on the page; they print on every page.
    template <class T> T* add(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        m_objects.push_back(std::move(object));
        return raw;
    }
    Band* addBand(std::unique_ptr<Band> band);

    const std::vector<std::unique_ptr<ReportObject>>& objects() const { return m_objects; }
    const std::vector<std::unique_ptr<Band>>& bands() const { return m_bands; }

private:
    QPageLayout::Orientation m_orientation;
    std::vector<std::unique_ptr<ReportObject>> m_objects;
    std::vector<std::unique_ptr<Band>> m_bands;
};

class Document
{
public:
    Document(const QString& name, QPageLayout::Orientation orientation);

    // The title the print job carries.
    const QString& name() const { return m_name; }

    // The page design; only page 1 exists, any other number gives null.
    Page* page(int number);
    const Page* page(int number) const;

    // The object of that name (a text box, shape, line or band), or null.
    ReportObject* findObject(const QString& name) const;
    // The same, when it is of the kind asked for; null otherwise.
    TextBox* findTextBox(const QString& name) const;
    Band* findBand(const QString& name) const;

    // Lays the document out anew into pages, discarding any earlier preparation. `printDate`
    // is what "[DATE]" becomes in the boxes with expressions on.
    const PreparedDocument& prepare(const QDate& printDate);
    // The latest preparation (no pages before the first).
    const PreparedDocument& prepared() const { return m_prepared; }

private:
    QString m_name;
    Page m_page;
    PreparedDocument m_prepared;
};
