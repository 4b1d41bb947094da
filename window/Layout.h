#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

#include <span>

class QWidget;

// The window's layout: every control with its container, caption, place and size in twips,
// tab index and font, in the order in which the controls are stacked (later ones on top).
namespace Layout {

inline constexpr int twipsPerPixel = 15;
constexpr int pixels(int twips) {
    return twips / twipsPerPixel;
}

inline const QString caption = QStringLiteral("                   Lisk TAVORIN V.02");
inline constexpr int clientWidth = 6435;
inline constexpr int clientHeight = 5595;
inline constexpr int clientLeft = 2745;
inline constexpr int clientTop = 1770;

enum class Kind { Frame, Label, CommandButton, TextBox, CheckBox, OptionButton };

struct FontSpec {
    const char* face = nullptr; // nullptr: the window's font
    double points = 0;
    bool bold = false;
};

struct Control {
    const char* name;
    int index; // the element of a control array, else -1
    Kind kind;
    const char* container;
    const char* caption;
    int left, top, width, height; // twips, within the container's client area
    int tabIndex;
    FontSpec font;
};

struct Colours {
    const char* name;
    int index; // -1 for all elements or a plain control
    QColor background;
    QColor text;
};

inline const FontSpec windowFont{"Arial", 9.75, false};

std::span<const Control> controls();
std::span<const Colours> colours();

// The colours to paint with: an invalid background stands for the system's highlighted-text
// colour, an invalid text colour for its window-text colour.
QColor background(const Colours& colours, const QPalette& system);
QColor text(const Colours& colours, const QPalette& system);

QRect geometry(const Control& control);
QFont font(const FontSpec& wanted);

} // namespace Layout
