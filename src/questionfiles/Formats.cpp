#include "questionfiles/Formats.h"

#include "questionfiles/AikenFormat.h"
#include "questionfiles/CsvFormat.h"
#include "questionfiles/GiftFormat.h"
#include "questionfiles/MoodleXmlFormat.h"

#include <array>

namespace questionfiles {

namespace {

Result<QByteArray> writeCsv(const NotedRecords& bank, bool)
{
    return csvformat::write(bank);
}

Result<QByteArray> writeAiken(const NotedRecords& bank, bool flatten)
{
    return aikenformat::write(bank.records, flatten);
}

Result<QByteArray> writeGift(const NotedRecords& bank, bool)
{
    return giftformat::write(bank);
}

Result<QByteArray> writeMoodleXml(const NotedRecords& bank, bool)
{
    return moodlexml::write(bank);
}

// In the order of Format.
constexpr std::array<FormatRow, 4> kFormats = {{
    {Format::Csv, "csv", "CSV", "csv",
     "a header row question,a,b,c,d,e,answer (then kind,explanation, if the questions have "
     "them), then a row per question (RFC 4180)",
     "the file holds the header row and no question after it", csvformat::parse, writeCsv, true},
    {Format::Aiken, "aiken", "Aiken", "txt",
     "Aiken: the question on one line, \"A. text\" to \"E. text\", \"ANSWER: X\", a blank line",
     "the file holds no question", aikenformat::parse, writeAiken, false},
    {Format::Gift, "gift", "GIFT", "gift",
     "GIFT: ::title:: question { =right ~wrong ~wrong ~wrong ~wrong ####explanation }, "
     "$CATEGORY: kind before questions of that kind",
     "every line of the file is a comment", giftformat::parse, writeGift, true},
    {Format::MoodleXml, "moodle", "Moodle XML", "xml",
     "Moodle XML: a <quiz> of multichoice questions, five answers, one of fraction=\"100\"; "
     "a category's last level gives the kind, general feedback the explanation",
     "the file holds no question", moodlexml::parse, writeMoodleXml, true},
}};

constexpr bool inOrder()
{
    for (size_t i = 0; i < kFormats.size(); ++i) {
        if (kFormats[i].format != Format(i))
            return false;
    }
    return true;
}
static_assert(inOrder(), "kFormats is indexed by Format");

} // namespace

std::span<const FormatRow> formats()
{
    return kFormats;
}

const FormatRow& formatRow(Format format)
{
    return kFormats[size_t(format)];
}

std::optional<Format> formatNamed(const QString& name)
{
    for (const FormatRow& row : kFormats) {
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(row.ending), Qt::CaseInsensitive) == 0)
            return row.format;
    }
    return std::nullopt;
}

QString formatNames(const QString& between, const QString& beforeLast)
{
    QString names;
    for (size_t i = 0; i < kFormats.size(); ++i) {
        if (i > 0)
            names += i + 1 == kFormats.size() ? beforeLast : between;
        names += QLatin1String(kFormats[i].name);
    }
    return names;
}

QString formatEndings()
{
    QStringList endings;
    for (const FormatRow& row : kFormats) {
        QString ending = u'.' + QLatin1String(row.ending);
        if (qstrcmp(row.ending, row.name) != 0)
            ending += QStringLiteral(" for ") + QLatin1String(row.title);
        endings << ending;
    }
    return endings.join(QStringLiteral(", "));
}

QString untoldFormat()
{
    return QStringLiteral("the format cannot be told from the file's ending (%1); give --format %2")
        .arg(formatEndings(), formatNames(QStringLiteral(", "), QStringLiteral(" or ")));
}

Result<QByteArray> exportRecords(const NotedRecords& bank, Format format, bool flatten)
{
    return formatRow(format).write(bank, flatten);
}

} // namespace questionfiles
