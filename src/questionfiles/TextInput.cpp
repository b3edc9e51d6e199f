#include "questionfiles/TextInput.h"

#include <QStringDecoder>

namespace textinput {

namespace {

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString discarded = decoder(bytes);
    return !decoder.hasError();
}

int lineOfFirstBadSequence(const QByteArray& bytes)
{
    int line = 1;
    for (const QByteArray& piece : bytes.split('\n')) {
        if (!isUtf8(piece))
            return line;
        ++line;
    }
    return line;
}

bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c <= 0x9F);
}

bool endsLinesWithCrAlone(const QString& text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return !text.contains(u'\n') && cr >= 0 && cr < text.size() - 1;
}

// The first character no format allows, with its line and column (counted in characters).
Result<void, ParseError> checkCharacters(const QString& text)
{
    if (endsLinesWithCrAlone(text)) {
        return Failure{ParseError{
            1, QStringLiteral("the lines end with CR alone; lines must end with LF or CR LF")}};
    }
    int line = 1;
    int column = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isLowSurrogate(c))
            continue;
        ++column;
        if (c == u'\n') {
            ++line;
            column = 0;
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) != u'\n') {
            return Failure{ParseError{line, QStringLiteral("column %1: a carriage return (CR) "
                                                           "with no line feed after it; lines "
                                                           "end with LF or CR LF")
                                                .arg(column)}};
        } else if (isControl(c)) {
            return Failure{ParseError{
                line, QStringLiteral("column %1: the control character U+%2 is not allowed in a "
                                     "text")
                          .arg(column)
                          .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'))}};
        }
    }
    return {};
}

} // namespace

Result<QString, ParseError> decodeUtf8(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        return Failure{ParseError{1, QStringLiteral("the text is UTF-16 (it begins with the "
                                                    "UTF-16 byte order mark), not UTF-8; save "
                                                    "it as UTF-8")}};
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return Failure{
            ParseError{lineOfFirstBadSequence(bytes), QStringLiteral("the text is not UTF-8")}};
    if (const Result<void, ParseError> checked = checkCharacters(text); !checked.ok())
        return Failure{checked.error()};
    return text;
}

QStringList lines(const QString& text)
{
    QStringList result = text.split(u'\n');
    for (QString& line : result) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return result;
}

} // namespace textinput
