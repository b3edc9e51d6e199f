#include "options/OptionsFile.h"

#include "bank/Cp1252.h"
#include "files/SafeWrite.h"
#include "options/NumberRules.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace optionsfile {

namespace {

// The first two lines of the file, raw; a line is ended by CR LF, CR or LF (a file edited by
// hand may have Unix line ends). Empty optionals for lines the file does not have (or for a file
// that cannot be read).
struct RawLines {
    std::optional<QByteArray> first;
    std::optional<QByteArray> second;
};

RawLines readRawLines(const QString& path)
{
    QFile file(path);
    // Only an ordinary file: a pipe in its place would make the read wait for ever.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    // The two lines the program reads are short; a huge file is not read beyond its start.
    const QByteArray bytes = file.read(64 * 1024);
    RawLines lines;
    qsizetype pos = 0;
    for (auto* line : {&lines.first, &lines.second}) {
        if (pos >= bytes.size())
            break;
        qsizetype end = pos;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        *line = bytes.mid(pos, end - pos);
        pos = end + 1;
        if (end < bytes.size() && bytes.at(end) == '\r' && pos < bytes.size() &&
            bytes.at(pos) == '\n')
            ++pos;
    }
    return lines;
}

qint16 valueOf(const std::optional<QByteArray>& line)
{
    if (!line)
        return kDefaultValue;
    return numberrules::roundToInt16(numberrules::convert(*line)).value_or(kDefaultValue);
}

QByteArray fileBytes(const Lines& lines)
{
    return cp1252::encode(lines.questions) + "\r\n" + cp1252::encode(lines.minutes) + "\r\n";
}

} // namespace

Values ensureAndRead(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || (info.isFile() && info.size() < 1)) {
        const QString defaultText = QString::number(kDefaultValue);
        // A file that cannot be made leaves the defaults, which the next start tries again.
        static_cast<void>(saveLines({defaultText, defaultText}, path));
        return Values{};
    }
    return read(path);
}

Values read(const QString& path)
{
    const RawLines lines = readRawLines(path);
    return Values{valueOf(lines.first), valueOf(lines.second)};
}

Lines loadLines(const QString& path)
{
    const RawLines lines = readRawLines(path);
    return Lines{cp1252::decode(lines.first.value_or(QByteArray())),
                 cp1252::decode(lines.second.value_or(QByteArray()))};
}

Result<void> saveLines(const Lines& lines, const QString& path)
{
    // In a folder where no new file can be made, the file itself is written in place.
    return safewrite::writeWhole(path, fileBytes(lines), safewrite::InPlace::WhenFolderIsLocked);
}

} // namespace optionsfile
