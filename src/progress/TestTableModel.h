#pragma once

#include "progress/ResultsLog.h"

#include <QAbstractTableModel>
#include <QList>

// The tests of the results log as the progress window's table shows them, newest first: one row
// a test, its texts made only when the view asks for a cell, so that a log of any length is
// shown at once.
class TestTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Kind, Ended, Score, Percent, Time, Pace, ColumnCount };

    explicit TestTableModel(QObject* parent = nullptr);

    // The tests in the log's order, oldest first.
    void setTests(const QList<resultslog::Entry>& tests);
    // The test on a row, row 0 the newest.
    const resultslog::Entry& test(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString text(const resultslog::Entry& test, int column) const;

    QList<resultslog::Entry> tests_;
};
