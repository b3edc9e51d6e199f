#include "bankio/TextInput.h"

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

} // namespace

bool decodeUtf8(const QByteArray& bytes, QString* text, ParseError* error)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    *text = decoder(bytes);
    if (!decoder.hasError())
        return true;
    *error = {lineOfFirstBadSequence(bytes), QStringLiteral("the text is not UTF-8")};
    return false;
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
