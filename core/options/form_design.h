#pragma once

#include <cassert>
#include <cstddef>
#include <span>
#include <string_view>

namespace qfd::design {

// The kinds of control the forms are made of.
enum class Kind {
    Label,
    TextBox,
    CommandButton,
    OptionButton,
    CheckBox,
    Frame,
    ListBox,
    PictureBox,  // holds other controls; draws nothing of its own
    Image,
    Shape,
};

enum class Align { Left, Right, Centre };

struct Font {
    const char* name;
    double points;
    bool bold = false;
};

// A control's rectangle in twips of the window's client area, also for a control inside a frame.
struct Rect {
    double left, top, width, height;
};

// One control of a form as designed. A form's table lists its controls front to back: a control
// stands in front of every control after it.
struct Control {
    const char* name;
    int index = -1;  // its place in a control array; -1 for a control of its own
    Kind kind;
    const char* caption = "";  // a text box's designed text
    Rect rect;
    const char* container = "";  // the frame or picture box it is drawn inside; "" for the window
    int tabIndex = -1;           // -1: no place in the tab order
    const char* tip = nullptr;
    std::size_t maxBytes = 0;    // a text box's limit in the file's bytes; 0 for none
    const Font* font = nullptr;  // nullptr: the form's font
    Align align = Align::Left;
    bool wordWrap = false;
    bool visible = true;
    bool value = false;        // an option button selected as designed
    bool isDefault = false;    // the button Enter presses
    bool graphical = false;    // a button that shows a picture instead of its caption
    bool transparent = false;  // a label that lets what lies behind it show through
};

struct Form {
    const char* name;
    const char* caption;
    double width, height;  // the client area in twips
    Font font;
};

// The row of a control in a form's table, or -1 where the form has no such control.
constexpr int RowOf(std::span<const Control> controls, std::string_view name, int index = -1) {
    for (std::size_t row = 0; row < controls.size(); ++row) {
        if (controls[row].name == name && controls[row].index == index)
            return static_cast<int>(row);
    }
    return -1;
}

// A control that the form is known to have.
constexpr const Control& Find(std::span<const Control> controls, std::string_view name,
                              int index = -1) {
    assert(RowOf(controls, name, index) >= 0);
    return controls[static_cast<std::size_t>(RowOf(controls, name, index))];
}

}  // namespace qfd::design
