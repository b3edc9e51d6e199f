#include "questionfiles/HtmlText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace htmltext {

namespace {

// The named character references a question's text uses; any other name stays as written.
constexpr std::array<std::pair<const char*, char16_t>, 34> kNamed = {{
    {"amp", u'&'},      {"lt", u'<'},       {"gt", u'>'},       {"quot", u'"'},
    {"apos", u'\''},    {"nbsp", 0x00A0},   {"ndash", 0x2013},  {"mdash", 0x2014},
    {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"ldquo", 0x201C},  {"rdquo", 0x201D},
    {"hellip", 0x2026}, {"laquo", 0x00AB},  {"raquo", 0x00BB},  {"copy", 0x00A9},
    {"eacute", 0x00E9}, {"egrave", 0x00E8}, {"ecirc", 0x00EA},  {"aacute", 0x00E1},
    {"agrave", 0x00E0}, {"acirc", 0x00E2},  {"iacute", 0x00ED}, {"oacute", 0x00F3},
    {"uacute", 0x00FA}, {"ccedil", 0x00E7}, {"ntilde", 0x00F1}, {"auml", 0x00E4},
    {"ouml", 0x00F6},   {"uuml", 0x00FC},   {"szlig", 0x00DF},  {"deg", 0x00B0},
    {"times", 0x00D7},  {"middot", 0x00B7},
}};

// The elements that end a line of the text they stand in.
bool breaksLine(QStringView tag)
{
    static const QStringList kBreaking = {
        QStringLiteral("br"), QStringLiteral("p"),     QStringLiteral("div"),
        QStringLiteral("li"), QStringLiteral("tr"),    QStringLiteral("ul"),
        QStringLiteral("ol"), QStringLiteral("h1"),    QStringLiteral("h2"),
        QStringLiteral("h3"), QStringLiteral("h4"),    QStringLiteral("h5"),
        QStringLiteral("h6"), QStringLiteral("table"), QStringLiteral("blockquote"),
        QStringLiteral("pre")};
    return kBreaking.contains(tag);
}

// The character a reference "&...;" at html[at] stands for, and its length; none (0) when it
// is no reference this reader knows.
std::pair<char32_t, qsizetype> reference(const QString& html, qsizetype at)
{
    const qsizetype end = html.indexOf(u';', at + 1);
    if (end < 0 || end - at > 12)
        return {0, 0};
    const QStringView name = QStringView(html).mid(at + 1, end - at - 1);
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X');
        const uint code = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return {0, 0};
        return {char32_t(code), end - at + 1};
    }
    for (const auto& [entity, c] : kNamed) {
        if (name == QLatin1StringView(entity))
            return {c, end - at + 1};
    }
    return {0, 0};
}

// The name of the tag at html[at] ('<'), lower case, without a leading '/'.
QString tagName(const QString& html, qsizetype at, qsizetype end)
{
    qsizetype p = at + 1;
    if (p < end && html.at(p) == u'/')
        ++p;
    const qsizetype start = p;
    while (p < end && (html.at(p).isLetterOrNumber()))
        ++p;
    return html.mid(start, p - start).toLower();
}

} // namespace

QString plainText(const QString& html)
{
    QString out;
    out.reserve(html.size());
    bool space = false; // a blank is owed before the next character shown
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (c == u'<') {
            if (QStringView(html).mid(i, 4) == QLatin1StringView("<!--")) {
                const qsizetype end = html.indexOf(QLatin1StringView("-->"), i + 4);
                i = end < 0 ? html.size() : end + 2;
                continue;
            }
            const qsizetype end = html.indexOf(u'>', i + 1);
            if (end < 0) { // a lone "<" is text
                out.append(c);
                continue;
            }
            const QString tag = tagName(html, i, end);
            if ((tag == QLatin1StringView("script") || tag == QLatin1StringView("style")) &&
                html.at(i + 1) != u'/') {
                const qsizetype close =
                    html.indexOf(QStringLiteral("</") + tag, end, Qt::CaseInsensitive);
                const qsizetype closeEnd = close < 0 ? -1 : html.indexOf(u'>', close);
                i = closeEnd < 0 ? html.size() : closeEnd;
                continue;
            }
            if (breaksLine(tag)) {
                out.append(u'\n');
                space = false;
            } else if (tag == QLatin1StringView("td") || tag == QLatin1StringView("th")) {
                space = true;
            }
            i = end;
            continue;
        }
        if (c.isSpace() && c != QChar(0x00A0)) {
            space = true;
            continue;
        }
        if (space && !out.isEmpty() && out.back() != u'\n')
            out.append(u' ');
        space = false;
        if (c == u'&') {
            const auto [code, length] = reference(html, i);
            if (length > 0) {
                out.append(QStringView(QChar::fromUcs4(code)));
                i += length - 1;
                continue;
            }
        }
        out.append(c);
    }
    QStringList lines;
    for (const QString& line : out.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines.join(u'\n');
}

bool showsPicture(const QString& html)
{
    static const QRegularExpression img(QStringLiteral("<img[\\s/>]"),
                                        QRegularExpression::CaseInsensitiveOption);
    return img.match(html).hasMatch();
}

} // namespace htmltext
