#pragma once
// The controls of the main window: kind, place and size in client pixels. Positions are fixed;
// nothing is anchored or stretched. Labels size themselves to their text; their widths here
// are only where they start.

#include <span>

namespace velkor {

// In tab order (Chart1 first, ProgressBar1 last), then the labels, which take no focus.
enum class Control {
    Chart1,
    Button1,
    DateTimePicker7,
    DateTimePicker6,
    DateTimePicker2,
    DateTimePicker3,
    DateTimePicker4,
    DateTimePicker5,
    DateTimePicker1,
    ZapisUstawien,
    Button8,
    Button7,
    OdczytUstawien,
    Button6,
    Button3,
    Button4,
    Button5,
    CheckBox1,
    CheckBox2,
    ProgressBar1,
    Label8,
    Label7,
    Label1,
    Label9,
    Label2,
    Label3,
    Label4,
    Label5,
    Label6,
};

inline constexpr int ControlCount = static_cast<int>(Control::Label6) + 1;

enum class ControlKind { Chart, Button, CheckBox, DatePicker, TimePicker, ProgressBar, Label };

struct ControlLayout {
    Control control;
    const char* name; // the component name, also the widget's object name
    ControlKind kind;
    int left, top, width, height;
};

// Every control, in the order of Control.
std::span<const ControlLayout> ControlLayouts();
const ControlLayout& LayoutOf(Control control);

} // namespace velkor
