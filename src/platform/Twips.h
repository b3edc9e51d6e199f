#pragma once

#include <QFont>
#include <QRect>

// The window layouts are given in twips (1/1440 inch), 15 to a logical pixel at 96 dpi.
namespace twips {

inline constexpr int kPerPixel = 15;

int toPixels(int twips);
int fromPixels(int pixels);
QRect rect(int left, int top, int width, int height);

// The layout's fonts by name and point size. Styles are bit flags. A name that is not installed
// gives the first installed font that stands in for it (registerFontSubstitutions).
enum Style { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };
QFont font(const QString& family, double points, int style = Plain);

// Maps the layout's font names (MS Sans Serif, Arial, Book Antiqua, System) to installed
// fonts of the same metrics. Runs once; later calls do nothing.
void registerFontSubstitutions();

} // namespace twips
