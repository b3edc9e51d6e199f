// Replays kept inputs through a fuzz target's harness, without libFuzzer, so that the ordinary
// test suite runs every seed and every input that once failed:
//   fuzz_replay TARGET FILE-OR-FOLDER...
#include "FuzzHarness.h"

#include <QDirIterator>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

const fuzzharness::Target* targetNamed(const char* name)
{
    size_t count = 0;
    const fuzzharness::Target* all = fuzzharness::targets(&count);
    for (size_t i = 0; i < count; ++i) {
        if (std::strcmp(all[i].name, name) == 0)
            return &all[i];
    }
    return nullptr;
}

QStringList filesIn(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return {path};
    QStringList files;
    QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

} // namespace

int main(int argc, char* argv[])
{
    const fuzzharness::Target* target = argc > 1 ? targetNamed(argv[1]) : nullptr;
    if (!target) {
        std::fprintf(stderr, "usage: fuzz_replay TARGET FILE-OR-FOLDER...\n");
        return 2;
    }
    int replayed = 0;
    for (int i = 2; i < argc; ++i) {
        for (const QString& name : filesIn(QString::fromLocal8Bit(argv[i]))) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(name));
            target->run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no input to replay\n");
        return 1;
    }
    std::printf("%s: %d inputs replayed\n", target->name, replayed);
    return 0;
}
