#include "platform/Twips.h"

#include <QFontDatabase>
#include <QSet>
#include <QStringList>
#include <cmath>

namespace twips {

int toPixels(int twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(kPerPixel)));
}

int fromPixels(int pixels)
{
    return pixels * kPerPixel;
}

QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

namespace {

// The layout's font when it is installed, or else the first installed font that stands in for
// it. Qt would find the same one, but only after failing to find the layout's own and asking
// fontconfig to sort every installed font by its likeness to it, once for each style: a few
// milliseconds of each start.
QString installedFamily(const QString& family)
{
    // A family that more than one maker ships is listed once for each, as "P052 [URW]".
    static const QSet<QString> installed = [] {
        QSet<QString> names;
        for (const QString& listed : QFontDatabase::families())
            names.insert(listed.section(QStringLiteral(" ["), 0, 0).toCaseFolded());
        return names;
    }();
    for (const QString& name : QStringList{family} + QFont::substitutes(family)) {
        if (installed.contains(name.toCaseFolded()))
            return name;
    }
    return family;
}

} // namespace

QFont font(const QString& family, double points, int style)
{
    QFont f(installedFamily(family));
    f.setPointSizeF(points);
    f.setBold(style & Bold);
    f.setItalic(style & Italic);
    f.setUnderline(style & Underline);
    return f;
}

void registerFontSubstitutions()
{
    static const bool registered = [] {
        const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("DejaVu Sans")};
        QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
        QFont::insertSubstitutions(QStringLiteral("System"), sans);
        QFont::insertSubstitutions(QStringLiteral("Book Antiqua"),
                                   {QStringLiteral("P052"), QStringLiteral("TeX Gyre Pagella"),
                                    QStringLiteral("URW Palladio L"),
                                    QStringLiteral("DejaVu Serif")});
        return true;
    }();
    (void)registered;
}

} // namespace twips
