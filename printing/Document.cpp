#include "printing/Document.h"

#include "printing/Units.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Measures come from the design as decimals; two positions closer than this are the same.
constexpr double Eps = 1e-3;

double defaultPitch(const TextStyle& style)
{
    return style.pointSize * Units::PerInch / 72.0 * 1.2;
}

QString expanded(const QString& line, const QDate& printDate)
{
    if (!line.contains(u'['))
        return line;
    QString out = line;
    out.replace(u"[DATE]"_s, printDate.toString(u"dd/MM/yyyy"_s), Qt::CaseInsensitive);
    return out;
}

// Lays the objects of a page or of a band out onto prepared pages. Each object is given in its
// own coordinates; the part of them within [from, to) goes on `page`, moved down by `dy`.
class Placer
{
public:
    explicit Placer(const QDate& printDate) : m_printDate(printDate) {}

    void place(PreparedPage& page, const std::vector<std::unique_ptr<ReportObject>>& objects, double from, double to,
               double dy) const
    {
        for (const auto& object : objects) {
            switch (object->kind()) {
            case ReportObject::Kind::TextBox:
                placeText(page, static_cast<const TextBox&>(*object), from, to, dy);
                break;
            case ReportObject::Kind::Shape:
                placeShape(page, static_cast<const Shape&>(*object), from, to, dy);
                break;
            case ReportObject::Kind::Line:
                placeLine(page, static_cast<const LineObject&>(*object), from, to, dy);
                break;
            case ReportObject::Kind::Band:
                break; // bands are never nested
            }
        }
    }

private:
    static QRectF visiblePart(const QRectF& r, double from, double to)
    {
        const double top = std::max(r.top(), from);
        const double bottom = std::min(r.bottom(), to);
        return QRectF(r.left(), top, r.width(), std::max(0.0, bottom - top));
    }

    void placeText(PreparedPage& page, const TextBox& box, double from, double to, double dy) const
    {
        const QRectF r = box.geometry();
        const QRectF part = visiblePart(r, from, to);
        if (part.height() <= Eps)
            return;
        const bool whole = r.top() >= from - Eps && r.bottom() <= to + Eps;
        const double pitch = box.linePitch() > 0 ? box.linePitch() : defaultPitch(box.style());

        PreparedItem item;
        item.kind = PreparedItem::Kind::Text;
        item.name = box.name();
        item.style = box.style();
        item.fill = box.style().fill;
        item.linePitch = pitch;
        item.rect = part.translated(0, dy);

        const auto& lines = box.lines();
        if (whole) {
            for (const QString& line : lines)
                item.lines << (box.style().expressions ? expanded(line, m_printDate) : line);
            double first = r.top();
            if (box.style().alignment & Qt::AlignVCenter)
                first += (r.height() - pitch * lines.size()) / 2;
            item.firstLineTop = first + dy;
        } else {
            // A box cut by a page break keeps each line whole, on the page where it fits.
            item.firstLineTop = std::numeric_limits<double>::quiet_NaN();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const double top = r.top() + pitch * double(i);
                if (top < from - Eps || top + pitch > to + Eps || top >= r.bottom() - Eps)
                    continue;
                if (item.lines.isEmpty())
                    item.firstLineTop = top + dy;
                item.lines << (box.style().expressions ? expanded(lines.at(i), m_printDate) : lines.at(i));
            }
            if (item.lines.isEmpty())
                item.firstLineTop = item.rect.top();
        }
        page.items.append(item);
    }

    static void placeShape(PreparedPage& page, const Shape& shape, double from, double to, double dy)
    {
        const QRectF part = visiblePart(shape.geometry(), from, to);
        if (part.height() <= Eps && shape.geometry().height() > Eps)
            return;
        PreparedItem item;
        item.kind = PreparedItem::Kind::Rectangle;
        item.name = shape.name();
        item.rect = part.translated(0, dy);
        item.fill = shape.fill();
        page.items.append(item);
    }

    static void placeLine(PreparedPage& page, const LineObject& line, double from, double to, double dy)
    {
        const QRectF r = line.geometry();
        PreparedItem item;
        item.kind = PreparedItem::Kind::Line;
        item.name = line.name();
        item.orientation = line.orientation();
        if (line.orientation() == Qt::Horizontal) {
            if (r.top() < from - Eps || r.top() >= to - Eps)
                return;
            item.rect = r.translated(0, dy);
        } else {
            const QRectF part = visiblePart(r, from, to);
            if (part.height() <= Eps)
                return;
            item.rect = part.translated(0, dy);
        }
        page.items.append(item);
    }

    QDate m_printDate;
};

// Where a band that does not fit may be cut at or above `limit` without cutting a line of text
// in two.
double cutPoint(const Band& band, double limit)
{
    double cut = limit;
    for (const auto& object : band.objects()) {
        if (object->kind() != ReportObject::Kind::TextBox)
            continue;
        const auto& box = static_cast<const TextBox&>(*object);
        const QRectF r = box.geometry();
        if (limit <= r.top() + Eps || limit >= r.bottom() - Eps)
            continue;
        const double pitch = box.linePitch() > 0 ? box.linePitch() : defaultPitch(box.style());
        const double whole = std::floor((limit - r.top()) / pitch + Eps);
        cut = std::min(cut, r.top() + whole * pitch);
    }
    return cut;
}

} // namespace

void ReportObject::setHeight(double height)
{
    m_geometry.setHeight(std::max(0.0, height));
}

ReportObject::ReportObject(Kind kind, const QString& name, const QRectF& geometry)
    : m_geometry(geometry), m_kind(kind), m_name(name)
{
}

TextBox::TextBox(const QString& name, const QRectF& geometry, const TextStyle& style, const QString& text)
    : ReportObject(Kind::TextBox, name, geometry), m_style(style), m_linePitch(defaultPitch(style))
{
    setText(text);
}

void TextBox::setText(const QString& text)
{
    static const QRegularExpression lineBreak(u"\r\n|\r|\n"_s);
    m_lines = text.isEmpty() ? QStringList() : text.split(lineBreak);
}

Shape::Shape(const QString& name, const QRectF& geometry, const QColor& fill)
    : ReportObject(Kind::Shape, name, geometry), m_fill(fill)
{
}

LineObject::LineObject(const QString& name, const QPointF& start, double length, Qt::Orientation orientation)
    : ReportObject(Kind::Line, name,
                   orientation == Qt::Horizontal ? QRectF(start, QSizeF(length, 0)) : QRectF(start, QSizeF(0, length))),
      m_orientation(orientation)
{
}

Band::Band(const QString& name, BandKind bandKind, double height, bool maySplit)
    : ReportObject(Kind::Band, name, QRectF(0, 0, 0, height)), m_bandKind(bandKind), m_maySplit(maySplit)
{
}

double Page::printableWidth() const
{
    return m_orientation == QPageLayout::Portrait ? Units::PrintableShort : Units::PrintableLong;
}

double Page::printableHeight() const
{
    return m_orientation == QPageLayout::Portrait ? Units::PrintableLong : Units::PrintableShort;
}

Band* Page::addBand(std::unique_ptr<Band> band)
{
    Band* raw = band.get();
    m_bands.push_back(std::move(band));
    return raw;
}

Document::Document(const QString& name, QPageLayout::Orientation orientation) : m_name(name), m_page(orientation) {}

Page* Document::page(int number)
{
    return number == 1 ? &m_page : nullptr;
}

const Page* Document::page(int number) const
{
    return number == 1 ? &m_page : nullptr;
}

ReportObject* Document::findObject(const QString& name) const
{
    if (name.isEmpty())
        return nullptr; // decoration and fixed texts have no name
    for (const auto& object : m_page.objects())
        if (object->name() == name)
            return object.get();
    for (const auto& band : m_page.bands()) {
        if (band->name() == name)
            return band.get();
        for (const auto& object : band->objects())
            if (object->name() == name)
                return object.get();
    }
    return nullptr;
}

TextBox* Document::findTextBox(const QString& name) const
{
    ReportObject* object = findObject(name);
    return object && object->kind() == ReportObject::Kind::TextBox ? static_cast<TextBox*>(object) : nullptr;
}

Band* Document::findBand(const QString& name) const
{
    ReportObject* object = findObject(name);
    return object && object->kind() == ReportObject::Kind::Band ? static_cast<Band*>(object) : nullptr;
}

const PreparedDocument& Document::prepare(const QDate& printDate)
{
    PreparedDocument out;
    out.name = m_name;
    out.orientation = m_page.orientation();

    const Placer placer(printDate);
    const double pageHeight = m_page.printableHeight();
    constexpr double Everywhere = std::numeric_limits<double>::max();

    auto newPage = [&] {
        out.pages.append(PreparedPage());
        placer.place(out.pages.last(), m_page.objects(), -Everywhere, Everywhere, 0);
    };
    newPage();

    std::vector<const Band*> bands;
    for (const auto& band : m_page.bands())
        bands.push_back(band.get());
    std::stable_sort(bands.begin(), bands.end(),
                     [](const Band* a, const Band* b) { return a->bandKind() < b->bandKind(); });

    double y = 0; // where the next band starts on the current page
    for (const Band* band : bands) {
        const double height = band->height();
        double done = 0; // how much of the band is already on earlier pages
        while (true) {
            const double room = pageHeight - y;
            if (height - done <= room + Eps) {
                placer.place(out.pages.last(), band->objects(), done, height, y - done);
                y += height - done;
                break;
            }
            const bool freshPage = y <= Eps;
            if (!band->maySplit()) {
                if (freshPage) { // taller than a page: print what fits
                    placer.place(out.pages.last(), band->objects(), 0, height, y);
                    y += height;
                    break;
                }
                newPage();
                y = 0;
                continue;
            }
            double cut = cutPoint(*band, done + room);
            if (cut <= done + Eps) {
                if (!freshPage) {
                    newPage();
                    y = 0;
                    continue;
                }
                cut = done + room; // a single line taller than a page
            }
            placer.place(out.pages.last(), band->objects(), done, cut, y - done);
            done = cut;
            newPage();
            y = 0;
        }
    }

    m_prepared = std::move(out);
    return m_prepared;
}
