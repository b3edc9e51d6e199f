#include "app/HelpText.h"

#include "bank/Cp1252.h"
#include "files/RegularFile.h"

namespace helptext {

namespace {

// Help texts are a few pages: a larger file is none, and would only hold the window up (or,
// from under /proc, exhaust memory while it claims to be empty).
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

QStringView trimmedSpaces(QStringView line)
{
    while (!line.isEmpty() && line.front() == u' ')
        line = line.sliced(1);
    while (!line.isEmpty() && line.back() == u' ')
        line.chop(1);
    return line;
}

} // namespace

QString shownText(QByteArrayView bytes)
{
    const QString all = cp1252::decode(bytes);
    const QStringView rest(all);
    QString shown;
    shown.reserve(all.size() + all.size() / 32 + 2);
    qsizetype start = 0;
    while (start < rest.size()) {
        qsizetype end = rest.indexOf(u'\r', start);
        if (end < 0)
            end = rest.size();
        shown += trimmedSpaces(rest.sliced(start, end - start));
        shown += u"\r\n";
        start = end + 1;
        if (start < rest.size() && rest[start] == u'\n')
            ++start;
    }
    return shown;
}

Result<QString> load(const QString& fileName)
{
    const Result<QByteArray> bytes = regularfile::readWhole(fileName, kLargestFile);
    if (!bytes.ok())
        return Failure{
            QStringLiteral("Cannot read the help file \"%1\": %2.").arg(fileName, bytes.error())};
    return shownText(bytes.value());
}

} // namespace helptext
