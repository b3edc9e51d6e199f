#include "questionfiles/FileChecks.h"

#include "files/RegularFile.h"

#include <QFileInfo>

namespace filechecks {

Result<void> checkInput(const QString& path, qint64 maxBytes)
{
    if (const Result<void> can = readable(path); !can.ok())
        return Failure{QStringLiteral("%1: cannot be read: %2").arg(path, can.error())};
    const qint64 size = QFileInfo(path).size();
    if (size <= maxBytes)
        return {};
    return Failure{
        QStringLiteral("%1: %2 bytes, more than the questions of a full bank could take up "
                       "(at most %3 bytes are read)")
            .arg(path)
            .arg(size)
            .arg(maxBytes)};
}

Result<void> readable(const QString& path)
{
    if (const QString refused = regularfile::notRegular(path); !refused.isEmpty())
        return Failure{refused + QStringLiteral(", and only regular files are read")};
    return regularfile::readable(path);
}

Result<void> checkOutput(const QString& path)
{
    const QString kind = regularfile::kind(path);
    if (kind.isEmpty())
        return {};
    return Failure{
        QStringLiteral("%1 is %2, not a regular file: nothing is written to it").arg(path, kind)};
}

QString sameFileProblem(const QString& input, const QString& output)
{
    return QStringLiteral("%1 and %2 are the same file: writing it would destroy what is read")
        .arg(output, input);
}

} // namespace filechecks
