#include "progress/TestTableModel.h"

#include "progress/Statistics.h"

namespace {

const char* const kHeadings[] = {"Date",    "Kind",      "Ended",       "Score",
                                 "Percent", "Time used", "s a question"};

} // namespace

TestTableModel::TestTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TestTableModel::setTests(const QList<resultslog::Entry>& tests)
{
    beginResetModel();
    tests_ = tests;
    endResetModel();
}

const resultslog::Entry& TestTableModel::test(int row) const
{
    return tests_.at(tests_.size() - 1 - row);
}

int TestTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(tests_.size());
}

int TestTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TestTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return text(test(index.row()), index.column());
    if (role == Qt::TextAlignmentRole && index.column() >= Score)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QString TestTableModel::text(const resultslog::Entry& test, int column) const
{
    const progress::Row row = progress::row(test);
    switch (column) {
    case Date:
        return QString::fromLatin1(row.when.data());
    case Kind:
        return resultslog::kindName(test.kind);
    case Ended:
        return row.ended;
    case Score:
        return QString::fromLatin1(row.score.data());
    case Percent:
        return QStringLiteral("%1%").arg(row.percent);
    case Time:
        return QString::fromLatin1(row.time.data());
    default:
        return QString::fromLatin1(row.pace.data());
    }
}

QVariant TestTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(kHeadings[section]);
}
