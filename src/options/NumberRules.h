#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <limits>
#include <optional>

// How a line of the options file becomes a number.
namespace numberrules {

// The largest number an option holds, a 16-bit one: the most minutes a test can last. The
// results log takes no more.
inline constexpr qint16 kLargestNumber = std::numeric_limits<qint16>::max();

// The number the text begins with. Spaces, tabs and line feeds are ignored wherever they stand;
// then an optional sign, digits with at most one decimal point and an optional exponent (E or D,
// either case, with an optional sign); or &H / &O and a hexadecimal / octal whole number.
// Reading stops at the first character that does not fit; no number at all reads as 0.
double convert(QByteArrayView text);

// The nearest whole number, halves going to the even one (2.5 gives 2, 3.5 gives 4); empty when
// the result lies outside the 16-bit signed range or the value is not a number.
std::optional<qint16> roundToInt16(double value);

} // namespace numberrules
