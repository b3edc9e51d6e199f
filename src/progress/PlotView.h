#pragma once

#include "progress/ResultsLog.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

// The plot of the progress window: historyplot's picture, in the widget's palette, scaled to
// the widget with its proportions kept. The picture is painted once for each size and device
// pixel ratio (a log may hold 100,000 tests) and shown from then on, sharp at that ratio.
class PlotView : public QWidget {
    Q_OBJECT

public:
    explicit PlotView(QWidget* parent = nullptr);

    // The tests to plot, in the log's order; with none, the ground alone and the text given.
    void setTests(const QList<resultslog::Entry>& tests, const QString& whenEmpty = {});

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where the picture stands in the widget: as large as it fits, centred.
    QRect pictureRect() const;
    QPixmap picture(const QRect& place) const;

    QList<resultslog::Entry> tests_;
    QString whenEmpty_;
    mutable QPixmap cache_;
};
