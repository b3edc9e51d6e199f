#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// One question of the bank: seven fixed-width text fields, 576 bytes in the file.
//
// The record keeps its bytes exactly as they stand in the file. A text stored into a field is
// padded on the right with spaces or cut to the field's width, silently. A fresh record holds
// zero bytes in every field.
class QuestionRecord {
public:
    enum class Field { Question, ChoiceA, ChoiceB, ChoiceC, ChoiceD, ChoiceE, Answer };

    static constexpr int kSize = 576;
    static constexpr int kQuestionWidth = 200;
    static constexpr int kChoiceWidth = 75;
    static constexpr int kChoiceCount = 5;

    static constexpr int width(Field f)
    {
        return f == Field::Question ? kQuestionWidth : f == Field::Answer ? 1 : kChoiceWidth;
    }
    static constexpr int offset(Field f)
    {
        return f == Field::Question ? 0 : kQuestionWidth + (static_cast<int>(f) - 1) * kChoiceWidth;
    }
    // Choice 0 to 4 is choice A to E.
    static constexpr Field choiceField(int index) { return static_cast<Field>(1 + index); }

    // The answer letters: letter i, "a" to "e", names choice i.
    static constexpr char kAnswerLetters[] = "abcde";
    static_assert(sizeof(kAnswerLetters) - 1 == kChoiceCount);
    // The answer letter of choice 0 to 4, and the label the choice goes by, "A" to "E".
    static QChar letterOf(int index) { return QLatin1Char(kAnswerLetters[index]); }
    static QChar labelOf(int index) { return letterOf(index).toUpper(); }
    // The choice, 0 to 4, that an answer letter names: exactly one of kAnswerLetters, in lower
    // case; -1 for any other text.
    static int choiceNamed(QStringView letter);

    QuestionRecord() = default;
    // The record held by the first 576 bytes; missing bytes are zero.
    static QuestionRecord fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    // The record's check: the CRC-16 of its 576 bytes, 0 to 65535. A record that holds another
    // question since has, all but always, another check.
    int check() const;

    // Every character of the field, fill spaces and zero characters included.
    QString field(Field f) const;
    void setField(Field f, const QString& text);

    QString question() const { return field(Field::Question); }
    QString choice(int index) const { return field(choiceField(index)); }
    QString answer() const { return field(Field::Answer); }
    void setQuestion(const QString& text) { setField(Field::Question, text); }
    void setChoice(int index, const QString& text) { setField(choiceField(index), text); }
    void setAnswer(const QString& letter) { setField(Field::Answer, letter); }

    bool operator==(const QuestionRecord&) const = default;

private:
    std::array<char, kSize> bytes_{};
};
