#include "bankio/ResultsFile.h"

#include <QFile>
#include <QStringDecoder>
#include <sys/stat.h>

namespace resultsfile {

namespace {

QString cannotRead(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot read the results log \"%1\": %2.").arg(path, reason);
}

// The test on one line, or the problem with it; nothing for a blank line or a header.
void readLine(QByteArrayView bytes, int number, QStringDecoder& decoder, Contents* contents)
{
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    decoder.resetState();
    QString text = decoder(bytes);
    if (number == 1 && text.startsWith(QChar(0xfeff))) // a byte order mark from an editor
        text.remove(0, 1);
    if (decoder.hasError()) {
        contents->problems.append({number, QStringLiteral("the text is not UTF-8")});
        return;
    }
    if (text.trimmed().isEmpty() || resultslog::isHeader(text))
        return;
    Result<resultslog::Entry> entry = resultslog::parseLine(text);
    if (entry.ok())
        contents->tests.append({number, std::move(entry).value()});
    else
        contents->problems.append({number, entry.error()});
}

} // namespace

Result<Contents> read(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return Failure{cannotRead(path, QStringLiteral("there is no such file"))};
    if (!S_ISREG(info.st_mode))
        return Failure{cannotRead(path, S_ISDIR(info.st_mode)
                                            ? QStringLiteral("it is a folder")
                                            : QStringLiteral("it is not a plain file"))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{cannotRead(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure{cannotRead(path, file.errorString())};
    Contents contents;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    qsizetype start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        readLine(QByteArrayView(bytes).sliced(start, end - start), number, decoder, &contents);
        start = end + 1;
    }
    return contents;
}

QString located(const QString& path, const Problem& problem)
{
    return QStringLiteral("%1:%2: %3").arg(path).arg(problem.line).arg(problem.what);
}

} // namespace resultsfile
