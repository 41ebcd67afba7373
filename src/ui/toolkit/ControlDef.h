#pragma once

#include <string_view>

namespace vellicor::ui {

enum class ControlKind { Frame, TextBox, CheckBox, CommandButton, Label, PictureBox, Line };

// Check-box states.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// How a control looks beyond its kind, as flags.
enum ControlOption : unsigned {
    kOptionNone = 0,
    kMultiLine = 1u << 0, // text boxes
    kReadOnly = 1u << 1,  // text boxes: selectable, not editable
    kCentered = 1u << 2,
    kVerticalScroll = 1u << 3,
    kLink = 1u << 4,      // labels: blue, underlined, clickable
    kTitleFont = 1u << 5, // labels: the large bold title font
    kSunken = 1u << 6,    // picture boxes: the ordinary sunken border
};

// One row of a window definition. Geometry is in twips, relative to the container:
// the client area for top-level controls, a frame's outer corner (caption line
// included) for the controls inside it. Lines use left/top as one end and
// width/height as the other end's offset.
struct ControlDef {
    std::wstring_view name;
    ControlKind kind;
    std::wstring_view container; // empty: the window itself
    std::wstring_view caption;
    int left;
    int top;
    int width;
    int height;
    int tabIndex; // -1: never takes the focus
    std::wstring_view tag;
    int value = 0;  // check boxes: initial state
    int index = -1; // members of a control array: their index
    unsigned options = kOptionNone;
};

} // namespace vellicor::ui
