#include "bank/QuestionRecord.h"

#include "bank/Cp1252.h"

#include <algorithm>
#include <cstring>

QuestionRecord QuestionRecord::fromBytes(QByteArrayView bytes)
{
    QuestionRecord record;
    std::memcpy(record.bytes_.data(), bytes.data(),
                static_cast<std::size_t>(std::min<qsizetype>(bytes.size(), kSize)));
    return record;
}

QByteArray QuestionRecord::toBytes() const
{
    return QByteArray(bytes_.data(), kSize);
}

QString QuestionRecord::field(Field f) const
{
    return cp1252::decode(QByteArrayView(bytes_.data() + offset(f), width(f)));
}

void QuestionRecord::setField(Field f, const QString& text)
{
    const QByteArray encoded = cp1252::encode(text);
    const int w = width(f);
    const int kept = static_cast<int>(std::min<qsizetype>(encoded.size(), w));
    char* start = bytes_.data() + offset(f);
    std::memcpy(start, encoded.constData(), static_cast<std::size_t>(kept));
    std::memset(start + kept, ' ', static_cast<std::size_t>(w - kept));
}

int QuestionRecord::choiceNamed(QStringView letter)
{
    if (letter.size() != 1)
        return -1;
    const char c = letter.front().toLatin1(); // 0 for a character Latin-1 lacks
    const char* const found = c != 0 ? std::strchr(kAnswerLetters, c) : nullptr;
    return found ? int(found - kAnswerLetters) : -1;
}

int QuestionRecord::check() const
{
    return qChecksum(QByteArrayView(bytes_.data(), kSize));
}
