#pragma once

#include <QRadioButton>

// A choice of the test: its whole row takes a click, also beside a short text. Where a narrow
// screen cuts its text off, the text shows whole as its tool tip.
class ChoiceButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override;
    bool event(QEvent* event) override;
};
