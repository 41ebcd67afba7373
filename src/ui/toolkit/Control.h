#pragma once

#include "ui/toolkit/ControlDef.h"

#include <functional>
#include <string>
#include <string_view>

namespace vellicor::ui {

// What a control shows on screen. The Win32 layer implements it over a real child
// window; in the portable world a control has no view.
class ControlView {
public:
    virtual ~ControlView() = default;
    virtual void ShowCheck(int state) = 0;
    virtual void ShowText(const std::wstring& text) = 0;
    virtual void ShowEnabled(bool enabled) = 0;
};

// A control as the program's logic sees it. The model holds the state; the view only
// mirrors it, so the same logic runs over real windows and in unit tests.
//
// Check boxes: every change of state, by the user or by code, raises Click at once,
// inside the call that made it; setting the state a box already has raises nothing.
// A user click turns checked to unchecked and both unchecked and grayed to checked,
// so the user never produces grayed.
class Control {
public:
    explicit Control(const ControlDef& def);

    const ControlDef& Definition() const { return def_; }
    const std::wstring& Name() const { return name_; }
    ControlKind Kind() const { return def_.kind; }

    // A property read by its name: "Name", "Caption", "Text" or "Tag". Any other name is a
    // bug: std::invalid_argument.
    std::wstring Property(std::wstring_view propertyName) const;

    const std::wstring& Text() const { return text_; }
    // The view hears only of a text that differs from the one shown.
    void SetText(std::wstring text);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    int Value() const { return value_; }
    void SetValue(int state);

    // The user's click (mouse, Space, or a click message): ignored while disabled.
    void UserClick();
    // The pointer moved over the control, or pressed a button on it.
    void MouseMove();
    // The keyboard moved the focus to the control (Tab, an arrow key); not the focus that
    // the window puts back itself after an interruption.
    void KeyboardFocus();

    std::function<void()> onClick;
    std::function<void()> onMouseMove;
    std::function<void()> onKeyboardFocus;

    void AttachView(ControlView* view);

private:
    ControlDef def_;
    std::wstring name_;
    std::wstring text_;
    bool enabled_ = true;
    int value_ = 0;
    ControlView* view_ = nullptr;
};

} // namespace vellicor::ui
