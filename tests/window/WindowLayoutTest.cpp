#include "tests/support/RunningWindow.h"
#include "window/Layout.h"
#include "window/RunningTimeLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace {

// The caption a control shows: a group box's title, any other control's text.
QString textOf(QWidget* w) {
    if (auto* l = qobject_cast<RunningTimeLabel*>(w)) {
        return l->text();
    }
    const QVariant title = w->property("title");
    return (title.isValid() ? title : w->property("text")).toString();
}

// A font as the table below writes it: family, size in points, and any style.
QString fontOf(const QWidget* w) {
    const QFont& f = w->font();
    return f.family() + QLatin1Char(' ') + QString::number(f.pointSizeF()) +
           (f.bold() ? QStringLiteral(" bold") : QString()) +
           (f.italic() ? QStringLiteral(" italic") : QString()) +
           (f.underline() ? QStringLiteral(" underline") : QString()) +
           (f.strikeOut() ? QStringLiteral(" strike-out") : QString());
}

using WindowLayout = RunningWindow;

TEST_F(WindowLayout, TheWindowHasItsCaptionSizeAndFont) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("                   Lisk TAVORIN V.02"));
    EXPECT_EQ(form->size(), QSize(429, 373));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "the layout is absolute: fixed size";
    EXPECT_EQ(fontOf(form), QStringLiteral("Arial 9.75"));
    EXPECT_EQ(QFontInfo(form->controls().LblTimer->font()).family(),
              QStringLiteral("Liberation Sans"))
        << "Arial resolves to a metric-compatible face";
    EXPECT_EQ(form->objectName(), QStringLiteral("Form1"));
    // Direct children: the timer and Frame1, nothing else.
    QStringList direct;
    for (QObject* child : form->children()) {
        if (!child->objectName().isEmpty()) {
            direct << child->objectName();
        }
    }
    direct.sort();
    EXPECT_EQ(direct, (QStringList{QStringLiteral("Frame1"), QStringLiteral("StartTimer")}));
}

TEST_F(WindowLayout, EveryControlStandsWhereTheWindowWasDrawn) {
    // Pixels are the drawing's twips divided by 15; a control without a font of its own has
    // the window's Arial 9.75. The name's prefix tells the kind of control.
    const std::pair<const char*, const char*> kinds[] = {
        {"Frame", "QGroupBox"}, {"LblTimer", "RunningTimeLabel"}, {"Lbl", "QLabel"},
        {"Label", "QLabel"},    {"Option", "QRadioButton"},       {"Check", "QCheckBox"},
        {"But", "QPushButton"}, {"Command", "QPushButton"},       {"Text", "QLineEdit"}};
    const char* clearLanes = "Smazat zápis a čas v draze č1 a č.2";
    const struct {
        const char* name;
        int index;
        const char* container;
        const char* caption;
        QRect pixels;
        const char* font;
    } expected[] = {
        {"Frame1", -1, "Form1", "", {8, 0, 415, 363}, "Arial 8.25"},
        {"LblTimer", -1, "Frame1", "00:00:00:000", {8, 16, 177, 68}, "Arial 21.75 bold"},
        {"Label3", 0, "Frame1", " H", {16, 56, 13, 16}, "Arial 9.75"},
        {"Label3", 1, "Frame1", "M", {56, 56, 13, 16}, "Arial 9.75"},
        {"Label3", 2, "Frame1", " S", {96, 56, 17, 16}, "Arial 9.75"},
        {"Label3", 3, "Frame1", " MS", {144, 56, 27, 16}, "Arial 9.75"},
        {"Option1", -1, "Frame1", "COM1", {208, 16, 57, 25}, "MS Sans Serif 8.25"},
        {"Option2", -1, "Frame1", "COM2", {208, 56, 57, 25}, "Arial 8.25"},
        {"Label4", -1, "Frame1", "Čas v PC", {304, 16, 51, 16}, "Arial 8.25"},
        {"LblTime", -1, "Frame1", "00:00:00", {280, 40, 94, 44}, "Arial 15.75"},
        {"Label3", 4, "Frame1", " H", {288, 64, 13, 13}, "Arial 8.25"},
        {"Label3", 5, "Frame1", " M", {320, 64, 13, 13}, "Arial 8.25"},
        {"Label3", 6, "Frame1", " S", {352, 64, 13, 13}, "Arial 8.25"},
        {"ButStart", -1, "Frame1", "Start závodu", {16, 104, 65, 38}, "Arial 8.25"},
        {"ButStop", -1, "Frame1", "Stop závodu", {104, 104, 63, 38}, "Arial 8.25"},
        {"Command9", -1, "Frame1", "Start anulován", {192, 104, 81, 41}, "Arial 9.75"},
        {"Command5", -1, "Frame1", "Diskvalifikace", {304, 104, 89, 33}, "Arial 9"},
        {"Frame3", -1, "Frame1", "STAV SNÍMAČŮ", {8, 160, 97, 121}, "Arial 8.25"},
        {"Check1", -1, "Frame3", "dráha č.1", {8, 24, 73, 17}, "Arial 8.25"},
        {"Check2", -1, "Frame3", "dráha č.2", {8, 56, 73, 17}, "Arial 8.25"},
        {"Check3", -1, "Frame1", "rozhodčí", {16, 248, 65, 17}, "Arial 8.25"},
        {"Command4", -1, "Frame1", clearLanes, {208, 160, 81, 49}, "Arial 8.25"},
        {"Command8", -1, "Frame1", "Reset ext.stopek", {120, 168, 65, 41}, "Arial 8.25"},
        {"Command1", -1, "Frame1", "Ukončení programu", {320, 160, 73, 41}, "Arial 8.25"},
        {"Frame4", -1, "Frame1", "Čas v dráze č.1", {128, 232, 113, 49}, "Arial 8.25"},
        {"Text2", -1, "Frame4", "", {8, 16, 97, 24}, "Arial 9.75"},
        {"Frame5", -1, "Frame1", "Čas v dráze č.2", {272, 232, 113, 49}, "Arial 8.25"},
        {"Text3", -1, "Frame5", "", {8, 16, 97, 25}, "Arial 9.75"},
        {"Command3", -1, "Frame1", "Uložit jméno družstva", {8, 312, 73, 41}, "Arial 8.25"},
        {"Frame2", -1, "Frame1", "ZADEJ JMÉNO DRUŽSTVA", {104, 304, 217, 49}, "Arial 8.25"},
        {"Text1", -1, "Frame2", "", {8, 16, 193, 25}, "Arial 9"},
        {"Command2", -1, "Frame1", "Další družstvo", {336, 312, 65, 41}, "Arial 8.25"},
    };
    ASSERT_EQ(Layout::controls().size(), std::size(expected)) << "every control but the timer";
    for (const auto& c : expected) {
        SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.index) + ")");
        QWidget* w = nullptr;
        for (QWidget* candidate : form->findChildren<QWidget*>(QString::fromLatin1(c.name))) {
            if (c.index < 0 || candidate->property("index").toInt() == c.index) {
                w = candidate;
            }
        }
        ASSERT_NE(w, nullptr);
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto& k) {
            return std::string_view(c.name).starts_with(k.first);
        });
        ASSERT_NE(kind, std::end(kinds));
        EXPECT_TRUE(w->inherits(kind->second)) << w->metaObject()->className();
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(c.container));
        EXPECT_EQ(textOf(w), QString::fromUtf8(c.caption));
        EXPECT_EQ(w->geometry(), c.pixels);
        EXPECT_EQ(fontOf(w), QString::fromLatin1(c.font));
        EXPECT_TRUE(w->isEnabled());
        EXPECT_TRUE(w->isVisible());
    }
}

TEST(WindowColours, Frame1TakesTheSystemsHighlightedTextAndWindowTextColours) {
    const QPalette before = QApplication::palette();
    QPalette system = before;
    system.setColor(QPalette::HighlightedText, QColor(10, 20, 30));
    system.setColor(QPalette::WindowText, QColor(200, 100, 0));
    QApplication::setPalette(system);
    Rig rig;
    const QPalette frame = rig.make().controls().Frame1->palette();
    QApplication::setPalette(before);
    EXPECT_EQ(frame.color(QPalette::Window), QColor(10, 20, 30));
    EXPECT_EQ(frame.color(QPalette::WindowText), QColor(200, 100, 0));
}

// Frame1's colours follow the system's, as the test above shows.
TEST_F(WindowLayout, ColoursAndAlignment) {
    const FormControls& c = form->controls();
    const QColor white(255, 255, 255), green(0, 192, 0), yellow(255, 255, 0), red(255, 0, 0),
        pale(255, 255, 128);
    const std::tuple<QWidget*, QColor, QColor> colours[] = {
        {c.LblTimer, white, green}, {c.LblTime, white, green},  {c.Label3[0], yellow, red},
        {c.Label3[1], yellow, red}, {c.Label3[3], yellow, red}, {c.Label3[4], yellow, red},
        {c.Label3[5], yellow, red}, {c.Label3[6], yellow, red}, {c.Label3[2], pale, red}};
    for (const auto& [w, window, text] : colours) {
        EXPECT_EQ(w->palette().color(QPalette::Window), window) << w->objectName().toStdString();
        EXPECT_EQ(w->palette().color(QPalette::WindowText), text) << w->objectName().toStdString();
    }
    for (QFrame* l :
         std::initializer_list<QFrame*>{c.LblTimer, c.LblTime, c.Label3[0], c.Label3[6]}) {
        EXPECT_TRUE(l->autoFillBackground()) << "labels paint their background";
        EXPECT_EQ(l->frameShape(), QFrame::NoFrame);
    }
    EXPECT_EQ(c.LblTime->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(c.LblTimer->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(c.Label4->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

// Later siblings are drawn over earlier ones.
int stackIndex(QWidget* w) {
    return static_cast<int>(w->parentWidget()->children().indexOf(w));
}

// Where they stand is in the layout's table; here, what they are drawn over.
TEST_F(WindowLayout, UnitLettersAndTheStartContactBoxAreDrawnOnTop) {
    const FormControls& c = form->controls();
    for (std::size_t i = 0; i < c.Label3.size(); ++i) {
        QWidget* under = i < 4 ? static_cast<QWidget*>(c.LblTimer) : c.LblTime;
        EXPECT_TRUE(under->geometry().contains(c.Label3[i]->geometry())) << i;
        EXPECT_GT(stackIndex(c.Label3[i]), stackIndex(under)) << i;
    }
    EXPECT_TRUE(c.Frame3->geometry().contains(c.Check3->geometry()));
    EXPECT_GT(stackIndex(c.Check3), stackIndex(c.Frame3));
    EXPECT_EQ(form->childAt(c.Check3->geometry().center() + c.Frame1->pos()), c.Check3);
}

TEST_F(WindowLayout, TabOrderFollowsTheTabIndex) {
    const QStringList expected =
        QStringLiteral("ButStart ButStop Command1 Option1 Option2 Command2 Text1 Command3 Check1 "
                       "Check2 Check3 Command5 Text2 Text3 Command4 Command8 Command9")
            .split(QLatin1Char(' '));
    QStringList order;
    QWidget* w = form->controls().ButStart;
    for (int i = 0; i < expected.size(); ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisible()) {
            w = w->nextInFocusChain();
        }
    }
    EXPECT_EQ(order, expected);
    EXPECT_EQ(form->controls().LblTimer->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form->controls().Frame3->focusPolicy(), Qt::NoFocus);
}

// The window opens with its boxes unchecked and its text boxes open to typing (captions,
// enabled controls and empty text boxes are in the layout's table above). Typing, Enter,
// clicks on the sensor boxes, resizing and activation do nothing beyond the toolkit's own work.
TEST_F(WindowLayout, OnlyTheWindowsOwnEventsAreHandled) {
    const FormControls& c = form->controls();
    for (QCheckBox* box : {c.Check1, c.Check2, c.Check3}) {
        EXPECT_FALSE(box->isChecked());
    }
    form->activateWindow();
    form->resize(600, 500);
    QTest::keyClicks(form->controls().Text1, QStringLiteral("SDH"));
    QTest::keyClick(form->controls().Text1, Qt::Key_Return); // one line only: Enter adds none
    QTest::keyClicks(form->controls().Text1, QStringLiteral(" Lhota"));
    QTest::keyClicks(form->controls().Text2, QStringLiteral("12"));
    QTest::keyClicks(form->controls().Text3, QStringLiteral("3"));
    QTest::mouseClick(form->controls().Check2, Qt::LeftButton);
    EXPECT_TRUE(form->controls().Check2->isChecked());
    EXPECT_EQ(form->controls().Text1->text(), QStringLiteral("SDH Lhota"));
    EXPECT_EQ(form->controls().Text2->text() + form->controls().Text3->text(),
              QStringLiteral("123"));
    rig.passes(1);
    EXPECT_FALSE(form->controls().Check2->isChecked()) << "rewritten by the next pass";
    EXPECT_EQ(rig.log(), QByteArray());
    EXPECT_TRUE(rig.lines.outputs.empty());
    EXPECT_EQ(form->state().raceState, 0);
    EXPECT_EQ(form->size(), QSize(429, 373));
    EXPECT_TRUE(rig.messages.seen.empty());
}

} // namespace
