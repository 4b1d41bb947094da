#include "window/FormControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

template <typename Widget> void fill(Widget*& member, QWidget* widget, std::string_view name) {
    member = qobject_cast<Widget*>(widget);
    if (member == nullptr) {
        qFatal("control %.*s is not of the kind its member needs", static_cast<int>(name.size()),
               name.data());
    }
}

// Every member but the Label3 array, by its name. Controls is FormControls, const or not.
template <typename Controls, typename Visit> void eachMember(Controls& c, Visit&& visit) {
    visit("Frame1", c.Frame1);
    visit("Frame2", c.Frame2);
    visit("Frame3", c.Frame3);
    visit("Frame4", c.Frame4);
    visit("Frame5", c.Frame5);
    visit("LblTimer", c.LblTimer);
    visit("LblTime", c.LblTime);
    visit("Label4", c.Label4);
    visit("Option1", c.Option1);
    visit("Option2", c.Option2);
    visit("ButStart", c.ButStart);
    visit("ButStop", c.ButStop);
    visit("Command1", c.Command1);
    visit("Command2", c.Command2);
    visit("Command3", c.Command3);
    visit("Command4", c.Command4);
    visit("Command5", c.Command5);
    visit("Command8", c.Command8);
    visit("Command9", c.Command9);
    visit("Check1", c.Check1);
    visit("Check2", c.Check2);
    visit("Check3", c.Check3);
    visit("Text1", c.Text1);
    visit("Text2", c.Text2);
    visit("Text3", c.Text3);
}

} // namespace

void FormControls::take(std::string_view name, int index, QWidget* widget) {
    if (name == "Label3" && index >= 0 && static_cast<std::size_t>(index) < Label3.size()) {
        fill(Label3[static_cast<std::size_t>(index)], widget, name);
        return;
    }
    bool found = false;
    eachMember(*this, [&](std::string_view member, auto*& slot) {
        if (member == name) {
            fill(slot, widget, name);
            found = true;
        }
    });
    if (!found) {
        qFatal("the layout names control %.*s, which the window does not have",
               static_cast<int>(name.size()), name.data());
    }
}

void FormControls::checkComplete() const {
    eachMember(*this, [](std::string_view member, auto* const& slot) {
        if (slot == nullptr) {
            qFatal("the layout has no control %.*s", static_cast<int>(member.size()),
                   member.data());
        }
    });
    for (const QLabel* label : Label3) {
        if (label == nullptr) {
            qFatal("the layout lacks an element of Label3");
        }
    }
}
