#include "app/ControlTable.h"

#include <array>

namespace velkor {

namespace {

using K = ControlKind;
using C = Control;

constexpr std::array<ControlLayout, ControlCount> Table{{
    {C::Chart1, "Chart1", K::Chart, 0, 0, 665, 449},
    {C::Button1, "Button1", K::Button, 56, 488, 121, 17},
    {C::DateTimePicker7, "DateTimePicker7", K::TimePicker, 160, 456, 73, 21},
    {C::DateTimePicker6, "DateTimePicker6", K::DatePicker, 40, 456, 81, 21},
    {C::DateTimePicker2, "DateTimePicker2", K::DatePicker, 256, 480, 81, 21},
    {C::DateTimePicker3, "DateTimePicker3", K::TimePicker, 336, 480, 73, 21},
    {C::DateTimePicker4, "DateTimePicker4", K::DatePicker, 424, 480, 81, 21},
    {C::DateTimePicker5, "DateTimePicker5", K::TimePicker, 504, 480, 73, 21},
    {C::DateTimePicker1, "DateTimePicker1", K::TimePicker, 592, 480, 73, 21},
    {C::ZapisUstawien, "ZapisUstawien", K::Button, 680, 480, 97, 25},
    {C::Button8, "Button8", K::Button, 680, 424, 89, 25},
    {C::Button7, "Button7", K::Button, 680, 392, 89, 25},
    {C::OdczytUstawien, "OdczytUstawien", K::Button, 680, 320, 89, 49},
    {C::Button6, "Button6", K::Button, 680, 224, 89, 25},
    {C::Button3, "Button3", K::Button, 680, 192, 89, 25},
    {C::Button4, "Button4", K::Button, 680, 136, 89, 25},
    {C::Button5, "Button5", K::Button, 680, 104, 89, 25},
    {C::CheckBox1, "CheckBox1", K::CheckBox, 680, 264, 97, 17},
    {C::CheckBox2, "CheckBox2", K::CheckBox, 680, 288, 97, 17},
    {C::ProgressBar1, "ProgressBar1", K::ProgressBar, 8, 520, 777, 16},
    {C::Label8, "Label8", K::Label, 696, 8, 61, 13},
    {C::Label7, "Label7", K::Label, 672, 32, 61, 13},
    {C::Label1, "Label1", K::Label, 672, 56, 73, 13},
    {C::Label9, "Label9", K::Label, 672, 80, 106, 13},
    {C::Label2, "Label2", K::Label, 8, 464, 23, 13},
    {C::Label3, "Label3", K::Label, 128, 464, 23, 13},
    {C::Label4, "Label4", K::Label, 264, 456, 92, 13},
    {C::Label5, "Label5", K::Label, 448, 456, 80, 13},
    {C::Label6, "Label6", K::Label, 592, 456, 68, 13},
}};

constexpr bool InEnumOrder() {
    for (int i = 0; i < ControlCount; ++i)
        if (static_cast<int>(Table[i].control) != i)
            return false;
    return true;
}
static_assert(InEnumOrder(), "LayoutOf indexes the table by Control");

} // namespace

std::span<const ControlLayout> ControlLayouts() {
    return Table;
}

const ControlLayout& LayoutOf(Control control) {
    return Table[static_cast<int>(control)];
}

} // namespace velkor
