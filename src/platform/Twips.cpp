#include "platform/Twips.h"

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

QFont font(const QString& family, double points, int style)
{
    QFont f(family);
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
