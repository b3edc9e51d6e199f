#include "app/Placement.h"

#include <cmath>

namespace placement {

namespace {

// Far beyond any screen, in twips; also keeps the pixel conversion inside the int range.
constexpr float kLargest = 10'000'000.0f;

bool isSize(const Key& key)
{
    return &key == &kWidth || &key == &kHeight;
}

} // namespace

float twipsValue(const QString& text, const Key& key)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > kLargest)
        return static_cast<float>(key.defaultTwips);
    if (isSize(key) && value < 1.0f)
        return static_cast<float>(key.defaultTwips);
    return value;
}

QString storedText(float twipsValue)
{
    return QString::number(static_cast<double>(twipsValue));
}

QRect keptOnScreen(const QRect& window, const QList<QRect>& screens, const QRect& primary)
{
    for (const QRect& screen : screens) {
        if (screen.intersects(window))
            return window;
    }
    const QSize size = window.size().boundedTo(primary.size());
    return QRect(primary.topLeft(), size);
}

} // namespace placement
