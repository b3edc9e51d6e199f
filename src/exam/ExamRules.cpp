#include "exam/ExamRules.h"
#include "base/Words.h"

#include "bank/BankFile.h"
#include "bank/TextRules.h"
#include "progress/ResultsLog.h"

#include <algorithm>
#include <cmath>

namespace examrules {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

qint64 remainingSeconds(qint64 elapsed, int testmins)
{
    return qint64(testmins) * 60 - 1 - elapsed;
}

// The review's line of an explanation, on one line whatever breaks it holds; none without one.
QString explanationLine(QString explanation)
{
    if (explanation.isEmpty())
        return {};
    explanation.replace(kCrLf, QStringLiteral(" "));
    for (QChar& c : explanation) {
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return QStringLiteral("Explanation : ") + explanation + kCrLf;
}

} // namespace

qint16 drawCandidate(qint64 records, float u)
{
    const qint64 r = std::clamp<qint64>(records, 0, BankFile::kMaxRecords);
    const auto candidate = static_cast<qint64>(std::floor(double(r) * double(u))) + 1;
    // A u rounded up to 1 must not reach past the last record.
    return static_cast<qint16>(std::min(candidate, std::max<qint64>(r, 1)));
}

Result<void> canStart(qint64 records, int numques, int testmins)
{
    if (numques < 1 || numques > resultslog::kMaxQuestions)
        return Failure{QStringLiteral("A test has 1 to %1 questions, but the options ask for %2. "
                                      "Set the number of questions in Tools > Options.")
                           .arg(resultslog::kMaxQuestions)
                           .arg(numques)};
    if (testmins < 1)
        return Failure{QStringLiteral("A test lasts at least 1 minute, but the options give %1. "
                                      "Set the test time in Tools > Options.")
                           .arg(testmins)};
    if (records < numques)
        return Failure{QStringLiteral("The question bank \"%1\" holds %2, but the test needs "
                                      "%3. Add questions with Tools > Add, or lower the number of "
                                      "questions in Tools > Options.")
                           .arg(QString::fromLatin1(BankFile::kFileName),
                                counted(records, QLatin1StringView("question")))
                           .arg(numques)};
    return {};
}

TimeFields timeFields(qint64 elapsed, int testmins)
{
    const qint64 left = std::max<qint64>(0, remainingSeconds(elapsed, testmins));
    return {int(left / 3600), int(left % 3600 / 60), int(left % 60)};
}

bool timeIsUp(qint64 elapsed, int testmins)
{
    return remainingSeconds(elapsed, testmins) <= 0;
}

QString timeText(const TimeFields& fields)
{
    return QStringLiteral("Time Remaining %1 : %2 : %3")
        .arg(fields.hours)
        .arg(fields.minutes)
        .arg(fields.seconds);
}

QString questionHeading(int number)
{
    return QStringLiteral("Question       No. ") + (number < 0 ? u'-' : u' ') +
           QString::number(std::abs(number));
}

QString scoreText(int score, int total)
{
    return QStringLiteral("You have answered %1 out of %2 correctly").arg(score).arg(total);
}

QString reviewBlock(int i, const QuestionRecord& record, const QString& choice,
                    const QString& explanation)
{
    // "a" to "d" name their choice; any other answer letter names choice E.
    const int named = QuestionRecord::choiceNamed(record.answer());
    const int correct = named < 0 ? 4 : named;
    const int chosen = QuestionRecord::choiceNamed(choice);
    const QString yours = chosen < 0 ? QStringLiteral("(not answered)")
                                     : textrules::shownField(record.choice(chosen));
    return QString::number(i) + QStringLiteral(" . ") + textrules::shownField(record.question()) +
           kCrLf + QStringLiteral("Correct Choice : ") +
           textrules::shownField(record.choice(correct)) + kCrLf +
           QStringLiteral("Your Choice : ") + yours + kCrLf + explanationLine(explanation) + kCrLf;
}

} // namespace examrules
