#include "BenchSupport.h"

#include "bank/BankFile.h"
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

void writeFullBank()
{
    QByteArray bytes;
    bytes.reserve(BankFile::kMaxRecords * QuestionRecord::kSize);
    for (int n = 1; n <= BankFile::kMaxRecords; ++n) {
        QuestionRecord record;
        record.setQuestion(QStringLiteral("Which word is closest in meaning to word %1?").arg(n));
        for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
            record.setChoice(i, QStringLiteral("choice %1 of %2").arg(i + 1).arg(n));
        record.setAnswer(QString(QuestionRecord::letterOf(n % 5)));
        bytes += record.toBytes();
    }
    writeFile(QString::fromLatin1(BankFile::kFileName), bytes);
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
