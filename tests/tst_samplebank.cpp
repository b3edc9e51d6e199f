#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "bank/TextRules.h"
#include "bankio/BankTool.h"

#include <QHash>
#include <QSet>
#include <QTest>
#include <QTextStream>

// The sample bank that the build makes from data/questions.csv, with its notes beside it: what
// every new user practises on first.
class TestSampleBank : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aBankWorthPractising();
};

void TestSampleBank::aBankWorthPractising()
{
    const QString path = QStringLiteral(LEXAMO_SAMPLE_DIR "/verbal.zep");
    BankFile bank;
    QVERIFY(bank.openToRead(path).ok());
    const BankNotes::Loaded notes = BankNotes::load(BankNotes::pathFor(path));
    QCOMPARE(notes.warning, QString());
    QVERIFY2(bank.recordCount() >= 600, qPrintable(QString::number(bank.recordCount())));
    QHash<QString, int> kinds;
    QHash<QString, int> letters;
    QSet<QString> questions;
    for (qint64 n = 1; n <= bank.recordCount(); ++n) {
        const QuestionRecord record = bank.read(n).value();
        const QString question = textrules::shownField(record.question()).simplified();
        QVERIFY2(!questions.contains(question.toLower()), qPrintable(question));
        questions.insert(question.toLower());
        // Every question has its kind and a short explanation, and a letter a to e.
        const BankNote note = notes.notes.noteFor(n, record);
        QVERIFY2(!note.kind.isEmpty() && !note.explanation.isEmpty(), qPrintable(question));
        QVERIFY2(note.explanation.size() <= 400, qPrintable(question));
        QVERIFY2(QStringLiteral("abcde").contains(record.answer()) && record.answer().size() == 1,
                 qPrintable(question));
        ++kinds[note.kind];
        ++letters[record.answer()];
    }
    // Six kinds at least, none with fewer than 60 questions; each letter 18% to 22% of them.
    QVERIFY2(kinds.size() >= 6, qPrintable(QStringList(kinds.keys()).join(u',')));
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        QVERIFY2(it.value() >= 60, qPrintable(it.key()));
    for (auto it = letters.cbegin(); it != letters.cend(); ++it) {
        const double share = double(it.value()) / double(bank.recordCount());
        QVERIFY2(share >= 0.18 && share <= 0.22, qPrintable(it.key()));
    }
    // lexamo-bank check finds nothing to say of the bank and its notes.
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    QCOMPARE(banktool::run({QStringLiteral("check"), path}, o, e), 0);
    o.flush();
    e.flush();
    QVERIFY2(out.endsWith(QStringLiteral("no problems found.\n")), qPrintable(out + err));
}

QTEST_GUILESS_MAIN(TestSampleBank)
#include "tst_samplebank.moc"
