#include "window/RefreshGate.h"
#include "tests/support/RunningWindow.h"
#include "window/RunningTimeLabel.h"

#include <QEvent>
#include <QLineEdit>

#include <functional>

namespace {

// What a control has drawn: how often, and the text it held when it last did.
class Drawn final : public QObject {
public:
    Drawn(QWidget* widget, std::function<QString()> text) : text_(std::move(text)) {
        widget->installEventFilter(this);
    }
    int paints = 0;
    QString text;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            text = text_();
        }
        return false;
    }

private:
    std::function<QString()> text_;
};

using RefreshGateTest = RunningWindow;

TEST_F(RefreshGateTest, TheRunningTimeSetOnEveryPassIsDrawnAtMostOncePerRefresh) {
    RunningTimeLabel* timer = form->controls().LblTimer;
    startRace();
    rig.passes(20);
    Drawn drawn(timer, [timer] { return timer->text(); });
    const QString before = timer->text();
    rig.passes(160); // 160 ms: ten refresh intervals
    EXPECT_NE(timer->text(), before);
    EXPECT_GE(drawn.paints, 9);
    EXPECT_LE(drawn.paints, 11);
}

TEST_F(RefreshGateTest, AFinishPulseHoldsTheDisplayThenTheFinalTimesAreDrawn) {
    const FormControls& c = form->controls();
    Drawn timer(c.LblTimer, [&c] { return c.LblTimer->text(); });
    Drawn lane1(c.Text2, [&c] { return c.Text2->text(); });
    startRace();
    rig.passes(300);
    std::vector<std::pair<int, QString>> atPulseEdges;
    rig.lines.onOutput = [&](const FakeLines::Transition&) {
        atPulseEdges.emplace_back(timer.paints, timer.text);
    };
    rig.lines.cts = rig.lines.dsr = true; // both lanes in one read: the stop pulse
    rig.passes(2);
    ASSERT_EQ(atPulseEdges.size(), 2U);
    EXPECT_EQ(atPulseEdges[0], atPulseEdges[1]) << "nothing drawn during the pulse";
    EXPECT_NE(atPulseEdges[1].second, c.LblTimer->text()) << "the final time came after it";
    rig.passes(RefreshGate::intervalMs);
    EXPECT_EQ(timer.text, c.LblTimer->text());
    EXPECT_EQ(timer.text.left(6), QStringLiteral("00:00:"));
    EXPECT_EQ(lane1.text, c.Text2->text());
}

} // namespace
