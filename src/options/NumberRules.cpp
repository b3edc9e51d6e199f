#include "options/NumberRules.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace numberrules {

namespace {

bool ignored(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// The text with the ignored characters taken out.
QByteArray significant(QByteArrayView text)
{
    QByteArray kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (!ignored(c))
            kept.append(c);
    }
    return kept;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

double radixNumber(const QByteArray& s, qsizetype pos, int radix)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const char c = s.at(pos);
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

// The exponent's value, held within a bound far beyond any double so that no digit count can
// overflow it.
long long exponentOf(const QByteArray& digits)
{
    long long value = 0;
    for (const char c : digits.mid(digits.startsWith('-') || digits.startsWith('+') ? 1 : 0))
        value = std::min(value * 10 + (c - '0'), 1'000'000'000'000LL);
    return digits.startsWith('-') ? -value : value;
}

// Whether a number that double cannot hold lies above its range rather than below: by the
// power of ten of its first non-zero digit, the exponent included.
bool beyondLargest(const QByteArray& number)
{
    const qsizetype e = number.indexOf('e');
    const QByteArray mantissa = number.left(e < 0 ? number.size() : e);
    const long long exponent = e < 0 ? 0 : exponentOf(number.mid(e + 1));
    const qsizetype point = mantissa.indexOf('.');
    const qsizetype units = point < 0 ? mantissa.size() : point; // where the whole part ends
    qsizetype first = 0;
    while (first < mantissa.size() && (mantissa.at(first) < '1' || mantissa.at(first) > '9'))
        ++first;
    const long long power = first < units ? units - first - 1 : -(first - units);
    return first < mantissa.size() && power + exponent > 0;
}

// Locale-independent; a number too large gives an infinity, one too small gives 0.
double toDouble(const QByteArray& number)
{
    const bool negative = number.startsWith('-');
    const char* begin = number.constData() + (number.startsWith('+') ? 1 : 0);
    double value = 0;
    const auto [end, error] = std::from_chars(begin, number.constData() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = beyondLargest(number) ? std::numeric_limits<double>::infinity() : 0.0;
        return negative ? -value : value;
    }
    return value;
}

double decimalNumber(const QByteArray& s)
{
    QByteArray number;
    qsizetype pos = 0;
    if (pos < s.size() && (s.at(pos) == '+' || s.at(pos) == '-'))
        number.append(s.at(pos++));
    bool digits = false;
    bool point = false;
    for (; pos < s.size(); ++pos) {
        const char c = s.at(pos);
        if (isDigit(c)) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number.append(c);
    }
    if (!digits)
        return 0;
    // An exponent counts only when digits follow its letter and optional sign.
    if (pos < s.size() && QByteArrayView("eEdD").contains(s.at(pos))) {
        qsizetype e = pos + 1;
        if (e < s.size() && (s.at(e) == '+' || s.at(e) == '-'))
            ++e;
        if (e < s.size() && isDigit(s.at(e))) {
            number.append('e');
            number.append(s.mid(pos + 1, e - pos - 1));
            for (; e < s.size() && isDigit(s.at(e)); ++e)
                number.append(s.at(e));
        }
    }
    return toDouble(number);
}

} // namespace

double convert(QByteArrayView text)
{
    const QByteArray s = significant(text);
    if (s.size() >= 2 && s.at(0) == '&') {
        const char kind = s.at(1);
        if (kind == 'h' || kind == 'H')
            return radixNumber(s, 2, 16);
        if (kind == 'o' || kind == 'O')
            return radixNumber(s, 2, 8);
        return 0;
    }
    return decimalNumber(s);
}

std::optional<qint16> roundToInt16(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double rounded =
        value - std::floor(value) == 0.5 ? 2 * std::round(value / 2) : std::round(value);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > kLargestNumber)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace numberrules
