#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <QString>

#include <vector>

class QPaintDevice;

// Where a line printed on one line (word wrap off) is cut at its box's right edge, for one font on
// one device. Measuring every prefix of every line is what a long list spends most of its printing
// time on; in a fixed-pitch font a line whose every character has the font's one advance is cut
// by counting characters instead, with the same result. Any other line (a tab, a combining mark,
// a character drawn from another font, a line in a proportional font) is measured.
class LineCutter
{
public:
    enum class Way
    {
        Counting,  // count where the font and the line allow it, measure the rest
        Measuring, // measure every line
    };

    struct Fit
    {
        double advance = 0;   // the whole line's advance, in the device's pixels
        qsizetype length = 0; // the characters that start left of the edge: all when it fits
        // Counted: every character of the line advances by pitch(), so the n-th starts exactly
        // n * pitch() after the first.
        bool counted = false;
    };

    LineCutter(const QFont& font, const QPaintDevice* device, Way way = Way::Counting);

    // How `line` fits into `width` pixels: a line wider than that keeps the characters that start
    // left of the edge, the last of them drawn in part.
    Fit fit(const QString& line, double width) const;

    const QFontMetricsF& metrics() const { return m_metrics; }
    // Whether lines are counted rather than measured where their characters allow it, and the
    // advance of every character they are counted by.
    bool counts() const { return m_pitch > 0; }
    double pitch() const { return m_pitch; }

    // Whether the characters of a counted line can be drawn as the font's own glyph for each,
    // without shaping the line: the font changes no glyph by its neighbours (no ligatures, no
    // contextual forms) and each character of a counted line is drawn by the font itself as one
    // glyph of its own, the glyph glyphOf() gives, from rawFont().
    bool drawsGlyphs() const { return m_rawFont.isValid(); }
    const QRawFont& rawFont() const { return m_rawFont; }
    quint32 glyphOf(QChar c) const { return m_glyphs[c.unicode()]; }

private:
    bool uniform(const QString& line) const;
    qsizetype measuredLength(const QString& line, double width) const;

    bool drawnAlone(QChar c, quint32& glyph) const;

    QFont m_font; // for the device
    const QPaintDevice* m_device;
    QFontMetricsF m_metrics;
    double m_pitch = 0; // the advance of every character of a fixed-pitch font; 0: measure
    QRawFont m_rawFont; // valid when counted lines are drawn glyph by glyph
    // The glyph of each character known to be drawn at the font's one advance, when drawsGlyphs().
    mutable std::vector<quint32> m_glyphs;
    // For each character of the Basic Multilingual Plane met so far: 0 not yet known, 1 drawn at
    // the font's one advance, 2 not.
    mutable std::vector<quint8> m_known;
};
