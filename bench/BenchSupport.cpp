#include "BenchSupport.h"

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace benchsupport {

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

namespace {

QuestionRecord fullBankRecord(int n)
{
    QuestionRecord record;
    record.setQuestion(QStringLiteral("Which word is closest in meaning to word %1?").arg(n));
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        record.setChoice(i, QStringLiteral("choice %1 of %2").arg(i + 1).arg(n));
    record.setAnswer(QString(QuestionRecord::letterOf(n % 5)));
    return record;
}

} // namespace

void writeFullBank()
{
    QByteArray bytes;
    bytes.reserve(BankFile::kMaxRecords * QuestionRecord::kSize);
    for (int n = 1; n <= BankFile::kMaxRecords; ++n)
        bytes += fullBankRecord(n).toBytes();
    writeFile(QString::fromLatin1(BankFile::kFileName), bytes);
}

void writeFullNotes()
{
    const QString sentence = QStringLiteral("The right choice keeps the sense of the word, "
                                            "while the \"tempting\" one only sounds like it.\n");
    QString explanation;
    while (explanation.size() < BankNotes::kMaxExplanation)
        explanation += sentence;
    explanation.truncate(BankNotes::kMaxExplanation);
    BankNotes notes;
    for (int n = 1; n <= BankFile::kMaxRecords; ++n) {
        const BankNote note{QStringLiteral("kind %1").arg(n % 7), explanation};
        notes.setNote(n, fullBankRecord(n), note);
    }
    writeFile(BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName)), notes.toBytes());
}

} // namespace benchsupport

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    twips::registerFontSubstitutions();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
