#pragma once

#include "tests/support/Rig.h"

#include <gtest/gtest.h>

// Tests on the window as it runs: loaded on a fresh rig with COM2 open, its loop entered, and
// the start-up's own line calls forgotten.
class RunningWindow : public ::testing::Test {
protected:
    Rig rig;
    Form1* form = nullptr;

    void SetUp() override {
        form = &rig.start();
        rig.lines.forget();
    }
    // The operator's click, handled in the next pass's event pump.
    void click(QAbstractButton* button) {
        Rig::click(button);
        rig.passes(1);
    }
    // The referee's contact closed for one read of the sampler, and the pass that acts on it.
    void startRace() {
        rig.lines.dcd = true;
        rig.passes(1);
        rig.lines.dcd = false;
        rig.passes(1);
    }
};
