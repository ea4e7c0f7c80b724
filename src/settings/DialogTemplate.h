#pragma once

#include <span>

// A dialog described as data: its caption, font, size and controls, with
// positions and sizes in dialog units, in tab order. Texts are UTF-8.
struct DialogTemplate
{
    enum class ControlClass {
        CheckBox,
        Label,
        ComboBox,
        Edit,
        UpDown,
        MonthCalendar,
        GroupBox,
        RadioButton,
        PushButton,
        TabControl,
    };

    enum Style : unsigned {
        TabStop = 1u << 0,
        Group = 1u << 1,      // starts a group (a radio group or a new label group)
        ReadOnly = 1u << 2,   // edit
        NoBorder = 1u << 3,   // edit without a frame
        RightAlign = 1u << 4, // edit text
        MultiLine = 1u << 5,  // check box text that wraps
        DefaultButton = 1u << 6,
    };

    struct Control
    {
        int id; // -1: a control without an identifier
        ControlClass controlClass;
        const char *name; // the widget's object name
        const char *text;
        int x, y, width, height;
        unsigned style;
        int buddyId = 0; // an up-down control's edit
    };

    const char *caption;
    const char *fontFamily;
    int pointSize;
    int width, height;
    std::span<const Control> controls;
};
