#include "bankio/BankCheck.h"

#include "questionfiles/RecordRules.h"

#include "bank/BankFile.h"
#include "bank/TextRules.h"

#include <QHash>

using Field = QuestionRecord::Field;

namespace bankcheck {

namespace {

QString describeAnswer(const QString& answer)
{
    const char16_t c = answer.at(0).unicode();
    if (c == 0)
        return QStringLiteral("a zero byte");
    if (c == u' ')
        return QStringLiteral("a space");
    if (c < 0x20 || c == 0x7F)
        return QStringLiteral("the byte 0x%1").arg(int(c), 2, 16, QLatin1Char('0'));
    return QStringLiteral("\"%1\"").arg(answer);
}

void checkRecord(const QuestionRecord& record, const QString& at, QStringList* found)
{
    if (recordrules::answerLetter(record).isEmpty()) {
        found->append(QStringLiteral("%1: the answer is %2, not a letter a to e")
                          .arg(at, describeAnswer(record.answer())));
    }
    for (int f = 0; f < static_cast<int>(Field::Answer); ++f) {
        const auto field = static_cast<Field>(f);
        const QString name = recordrules::fieldName(field);
        if (textrules::shownField(record.field(field)).isEmpty()) {
            found->append(QStringLiteral("%1: %2 is empty").arg(at, name));
            continue;
        }
        const QString uncarried = recordrules::uncarried(record.field(field));
        if (!uncarried.isEmpty())
            found->append(QStringLiteral("%1: %2 %3").arg(at, name, uncarried));
    }
}

} // namespace

QStringList findings(const QList<QuestionRecord>& records, qint64 trailingBytes, qint64 recordsPast)
{
    QStringList found;
    QHash<QString, qsizetype> firstWith;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString at = QStringLiteral("record %1").arg(i + 1);
        checkRecord(records.at(i), at, &found);
        if (textrules::shownField(records.at(i).question()).isEmpty())
            continue;
        const QString folded = recordrules::foldedQuestion(records.at(i).question());
        const auto seen = firstWith.constFind(folded);
        if (seen != firstWith.cend())
            found.append(
                QStringLiteral("%1: the same question as record %2").arg(at).arg(*seen + 1));
        else
            firstWith.insert(folded, i);
    }
    const qint64 count = records.size() + recordsPast;
    if (count > BankFile::kMaxRecords) {
        found.append(
            QStringLiteral("records %1 to %2 lie past record %3, the last Lexamo can reach")
                .arg(BankFile::kMaxRecords + 1)
                .arg(count)
                .arg(BankFile::kMaxRecords));
    }
    if (trailingBytes > 0) {
        found.append(QStringLiteral("after record %1: a piece of %2 bytes, shorter than a record")
                         .arg(count)
                         .arg(trailingBytes));
    }
    return found;
}

QStringList noteFindings(const QList<QuestionRecord>& records, qint64 recordCount,
                         const BankNotes& notes)
{
    QStringList found;
    for (auto it = notes.rows().cbegin(); it != notes.rows().cend(); ++it) {
        const qint64 n = it.key();
        if (n > recordCount) {
            found.append(QStringLiteral("record %1: it has a note, but the bank ends at record %2")
                             .arg(n)
                             .arg(recordCount));
        } else if (n <= records.size() && notes.isStale(n, records.at(n - 1))) {
            found.append(QStringLiteral("record %1: its note was written for another question "
                                        "(check %2, the record's is %3)")
                             .arg(n)
                             .arg(it->check, 4, 16, QLatin1Char('0'))
                             .arg(records.at(n - 1).check(), 4, 16, QLatin1Char('0')));
        }
    }
    return found;
}

} // namespace bankcheck
