#include "app/HelpText.h"

#include "bank/Cp1252.h"

#include <QFile>
#include <QFileInfo>

namespace helptext {

namespace {

// Far more than any help text; a larger file is not one, and would only exhaust memory.
constexpr qint64 kLargestFile = 256 * 1024 * 1024;

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
    const auto fail = [&](const QString& reason) {
        return Failure{
            QStringLiteral("Cannot read the help file \"%1\": %2.").arg(fileName, reason)};
    };
    const QFileInfo info(fileName);
    if (info.isDir())
        return fail(QStringLiteral("a folder stands in its place"));
    // A pipe or a device would make the read wait for ever.
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("it is not an ordinary file"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > kLargestFile)
        return fail(QStringLiteral("it is larger than %1 MB").arg(kLargestFile / (1024 * 1024)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return shownText(bytes);
}

} // namespace helptext
