#pragma once

#include <QPushButton>

// A command button whose caption wraps onto several lines when it is wider than the button,
// as the long captions of this window need.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
