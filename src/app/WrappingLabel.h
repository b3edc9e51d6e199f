#pragma once

#include <QLabel>

// A label whose text wraps at word boundaries, and inside a word too long for a line (a bank
// question may be one such word).
class WrappingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
