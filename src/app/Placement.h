#pragma once

#include <QList>
#include <QRect>
#include <QString>

// The main window's normal placement, kept in the settings store as decimal text in twips.
namespace placement {

inline constexpr const char* kSection = "Settings";

struct Key {
    const char* name;
    int defaultTwips;
};
inline constexpr Key kLeft{"MainLeft", 1000};
inline constexpr Key kTop{"MainTop", 1000};
inline constexpr Key kWidth{"MainWidth", 6500};
inline constexpr Key kHeight{"MainHeight", 6500};

// A stored value as a single-precision number of twips; a text that is not a usable number
// (not a number at all, or beyond any screen, or a size that is not positive) gives the default.
float twipsValue(const QString& text, const Key& key);
// The decimal text a value is stored as.
QString storedText(float twipsValue);

// The rectangle itself when it touches one of the screens; otherwise the same size (as far as
// it fits) moved to the top left of the primary screen's free area.
QRect keptOnScreen(const QRect& window, const QList<QRect>& screens, const QRect& primary);

} // namespace placement
