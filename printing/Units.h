#pragma once

// Measures of the printed documents. Positions and sizes are in units of 1/96 inch, measured
// from the top-left corner of the printable area; font sizes are in points.
namespace Units {

inline constexpr double PerInch = 96.0;
inline constexpr double PerMm = PerInch / 25.4; // 3.77953...

// Every document is printed on A4 with 10 mm margins on all four sides.
inline constexpr double PaperShortMm = 210.0;
inline constexpr double PaperLongMm = 297.0;
inline constexpr double MarginMm = 10.0;

inline constexpr double fromMm(double mm)
{
    return mm * PerMm;
}

// The printable area of the A4 page inside the margins.
inline constexpr double PrintableShort = fromMm(PaperShortMm - 2 * MarginMm); // 718.11 (190 mm)
inline constexpr double PrintableLong = fromMm(PaperLongMm - 2 * MarginMm);   // 1046.93 (277 mm)

} // namespace Units
