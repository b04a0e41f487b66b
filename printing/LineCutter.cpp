#include "printing/LineCutter.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

enum Known : quint8
{
    Unknown = 0,
    AtPitch = 1,
    Other = 2,
};

// Characters whose advance inside a line can differ from their advance alone: controls (a tab
// goes to the next tab stop), invisible formatting, combining marks, halves of a surrogate pair,
// and the scripts that are shaped by context.
bool mayBeCounted(QChar c)
{
    if (c.isSurrogate())
        return false;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Other_PrivateUse:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        break;
    }
    switch (c.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
        return true;
    default:
        return false;
    }
}

// Whether the font's substitution table has a feature that a text's shaping applies by default
// and that picks a glyph by the glyphs around it: ligatures and contextual forms. (Its other
// default features act on marks, which are never counted, or put one glyph in place of another
// whatever the neighbours, which drawnAlone() sees.) A table that cannot be read is taken to have
// one.
bool substitutesByContext(const QRawFont& font)
{
    const QByteArray table = font.fontTable("GSUB");
    if (table.isEmpty())
        return false;
    const auto u16 = [&](qsizetype at) {
        return at >= 0 && at + 2 <= table.size() ? int(uchar(table[at])) << 8 | uchar(table[at + 1]) : -1;
    };
    const int features = u16(6); // the offset of the feature list
    const int count = u16(features);
    if (features <= 0 || count < 0 || features + 2 + 6 * qsizetype(count) > table.size())
        return true;
    for (int i = 0; i < count; ++i) {
        const QByteArrayView tag(table.constData() + features + 2 + 6 * i, 4);
        for (const char* contextual : {"liga", "clig", "calt", "rlig", "rclt"})
            if (tag == QByteArrayView(contextual))
                return true;
    }
    return false;
}

} // namespace

LineCutter::LineCutter(const QFont& font, const QPaintDevice* device, Way way)
    : m_font(font, device), m_device(device), m_metrics(font, device)
{
    // The font actually drawn (fontconfig may have put another in place of the one asked for)
    // must be fixed-pitch; each character is still checked as lines bring it.
    if (way == Way::Counting && QFontInfo(m_font).fixedPitch()) {
        m_pitch = std::max(0.0, m_metrics.horizontalAdvance(QStringLiteral("0")));
        if (m_pitch > 0) {
            m_known.assign(0x10000, Unknown);
            const QRawFont raw = QRawFont::fromFont(m_font);
            if (raw.isValid() && !substitutesByContext(raw)) {
                m_rawFont = raw;
                m_glyphs.assign(0x10000, 0);
            }
        }
    }
}

bool LineCutter::drawnAlone(QChar c, quint32& glyph) const
{
    // The glyph of the font's own character map, and the one the text layout draws.
    const QString text(c);
    const QList<quint32> mapped = m_rawFont.glyphIndexesForString(text);
    if (mapped.size() != 1 || mapped.first() == 0)
        return false;
    QTextLayout layout(text, m_font, m_device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1 || runs.first().rawFont() != m_rawFont || runs.first().glyphIndexes() != mapped)
        return false;
    glyph = mapped.first();
    return true;
}

bool LineCutter::uniform(const QString& line) const
{
    for (const QChar c : line) {
        quint8& known = m_known[c.unicode()];
        if (known == Unknown)
            known = mayBeCounted(c) && m_metrics.horizontalAdvance(QString(c)) == m_pitch &&
                            (!drawsGlyphs() || drawnAlone(c, m_glyphs[c.unicode()]))
                        ? AtPitch
                        : Other;
        if (known != AtPitch)
            return false;
    }
    return true;
}

LineCutter::Fit LineCutter::fit(const QString& line, double width) const
{
    Fit fit;
    fit.length = line.size();
    if (m_pitch > 0 && uniform(line)) {
        // Advances add up exactly (whole 64ths of a pixel), so n characters take n times one.
        fit.counted = true;
        fit.advance = double(line.size()) * m_pitch;
        if (fit.advance > width) {
            // The characters that start left of the edge: those at i * pitch < width.
            qsizetype starting = qsizetype(std::ceil(width / m_pitch));
            while (starting > 0 && double(starting - 1) * m_pitch >= width)
                --starting;
            while (double(starting) * m_pitch < width)
                ++starting;
            fit.length = std::min(fit.length, starting);
        }
        return fit;
    }
    fit.advance = m_metrics.horizontalAdvance(line);
    if (fit.advance > width)
        fit.length = measuredLength(line, width);
    return fit;
}

qsizetype LineCutter::measuredLength(const QString& line, double width) const
{
    qsizetype low = 0; // characters known to start inside
    qsizetype high = line.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (m_metrics.horizontalAdvance(line.left(mid - 1)) < width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}
