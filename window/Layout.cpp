#include "window/Layout.h"

#include <array>

namespace Layout {

namespace {

using enum Kind;

constexpr FontSpec own{};
constexpr FontSpec arial825{"Arial", 8.25, false};
constexpr FontSpec arial9{"Arial", 9, false};

// clang-format off
const std::array<Control, 32> table{{
    // name       idx kind           in        caption                                  left   top  width height tab font
    {"Frame1",    -1, Frame,         "Form1",  "",                                       120,    0, 6225, 5445,  0, arial825},
    {"LblTimer",  -1, Label,         "Frame1", "00:00:00:000",                           120,  240, 2655, 1020,  1, {"Arial", 21.75, true}},
    {"Label3",     0, Label,         "Frame1", " H",                                     240,  840,  195,  240,  3, own},
    {"Label3",     1, Label,         "Frame1", "M",                                      840,  840,  195,  240,  4, own},
    {"Label3",     2, Label,         "Frame1", " S",                                    1440,  840,  255,  240,  5, own},
    {"Label3",     3, Label,         "Frame1", " MS",                                   2160,  840,  405,  240,  6, own},
    {"Option1",   -1, OptionButton,  "Frame1", "COM1",                                  3120,  240,  855,  375, 14, {"MS Sans Serif", 8.25, false}},
    {"Option2",   -1, OptionButton,  "Frame1", "COM2",                                  3120,  840,  855,  375, 15, arial825},
    {"Label4",    -1, Label,         "Frame1", "Čas v PC",                              4560,  240,  765,  240,  7, arial825},
    {"LblTime",   -1, Label,         "Frame1", "00:00:00",                              4200,  600, 1410,  660,  2, {"Arial", 15.75, false}},
    {"Label3",     4, Label,         "Frame1", " H",                                    4320,  960,  195,  195,  8, arial825},
    {"Label3",     5, Label,         "Frame1", " M",                                    4800,  960,  195,  195,  9, arial825},
    {"Label3",     6, Label,         "Frame1", " S",                                    5280,  960,  195,  195, 10, arial825},
    {"ButStart",  -1, CommandButton, "Frame1", "Start závodu",                           240, 1560,  975,  570, 11, arial825},
    {"ButStop",   -1, CommandButton, "Frame1", "Stop závodu",                           1560, 1560,  945,  570, 12, arial825},
    {"Command9",  -1, CommandButton, "Frame1", "Start anulován",                        2880, 1560, 1215,  615, 31, own},
    {"Command5",  -1, CommandButton, "Frame1", "Diskvalifikace",                        4560, 1560, 1335,  495, 24, arial9},
    {"Frame3",    -1, Frame,         "Frame1", "STAV SNÍMAČŮ",                           120, 2400, 1455, 1815, 20, arial825},
    {"Check1",    -1, CheckBox,      "Frame3", "dráha č.1",                              120,  360, 1095,  255, 21, arial825},
    {"Check2",    -1, CheckBox,      "Frame3", "dráha č.2",                              120,  840, 1095,  255, 22, arial825},
    {"Check3",    -1, CheckBox,      "Frame1", "rozhodčí",                               240, 3720,  975,  255, 23, arial825},
    {"Command4",  -1, CommandButton, "Frame1", "Smazat zápis a čas v draze č1 a č.2",   3120, 2400, 1215,  735, 29, arial825},
    {"Command8",  -1, CommandButton, "Frame1", "Reset ext.stopek",                      1800, 2520,  975,  615, 30, arial825},
    {"Command1",  -1, CommandButton, "Frame1", "Ukončení programu",                     4800, 2400, 1095,  615, 13, arial825},
    {"Frame4",    -1, Frame,         "Frame1", "Čas v dráze č.1",                       1920, 3480, 1695,  735, 25, arial825},
    {"Text2",     -1, TextBox,       "Frame4", "",                                       120,  240, 1455,  360, 26, own},
    {"Frame5",    -1, Frame,         "Frame1", "Čas v dráze č.2",                       4080, 3480, 1695,  735, 27, arial825},
    {"Text3",     -1, TextBox,       "Frame5", "",                                       120,  240, 1455,  375, 28, own},
    {"Command3",  -1, CommandButton, "Frame1", "Uložit jméno družstva",                  120, 4680, 1095,  615, 19, arial825},
    {"Frame2",    -1, Frame,         "Frame1", "ZADEJ JMÉNO DRUŽSTVA",                  1560, 4560, 3255,  735, 17, arial825},
    {"Text1",     -1, TextBox,       "Frame2", "",                                       120,  240, 2895,  375, 18, arial9},
    {"Command2",  -1, CommandButton, "Frame1", "Další družstvo",                        5040, 4680,  975,  615, 16, arial825},
}};
// clang-format on

const QColor white(255, 255, 255);
const QColor green(0, 192, 0);
const QColor yellow(255, 255, 0);
const QColor paleYellow(255, 255, 128);
const QColor red(255, 0, 0);

// Frame1 takes the system's highlighted-text and window-text colours (white and black on a
// default desktop): an invalid colour stands for the system's.
const std::array<Colours, 10> colourTable{{
    {"Frame1", -1, QColor(), QColor()},
    {"LblTimer", -1, white, green},
    {"LblTime", -1, white, green},
    {"Label3", 0, yellow, red},
    {"Label3", 1, yellow, red},
    {"Label3", 2, paleYellow, red},
    {"Label3", 3, yellow, red},
    {"Label3", 4, yellow, red},
    {"Label3", 5, yellow, red},
    {"Label3", 6, yellow, red},
}};

} // namespace

std::span<const Control> controls() {
    return table;
}

std::span<const Colours> colours() {
    return colourTable;
}

QColor background(const Colours& colours, const QPalette& system) {
    return colours.background.isValid() ? colours.background
                                        : system.color(QPalette::HighlightedText);
}

QColor text(const Colours& colours, const QPalette& system) {
    return colours.text.isValid() ? colours.text : system.color(QPalette::WindowText);
}

QRect geometry(const Control& control) {
    return {pixels(control.left), pixels(control.top), pixels(control.width),
            pixels(control.height)};
}

QFont font(const FontSpec& wanted) {
    const FontSpec& use = wanted.face != nullptr ? wanted : windowFont;
    QFont font(QString::fromLatin1(use.face));
    font.setPointSizeF(use.points);
    font.setWeight(use.bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace Layout
