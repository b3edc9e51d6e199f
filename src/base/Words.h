#pragma once

#include <QLatin1StringView>
#include <QString>

// "1 question", "2 questions": a count with its thing, in the plural unless the count is one.
// Every count Lexamo and lexamo-bank print goes through here.
inline QString counted(qint64 n, QLatin1StringView thing)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(thing).arg(n == 1 ? QString()
                                                                  : QStringLiteral("s"));
}
