#include "ui/toolkit/Control.h"

#include <stdexcept>

namespace vellicor::ui {

Control::Control(const ControlDef& def) : def_(def), name_(def.name), text_(def.caption), value_(def.value) {}

std::wstring Control::Property(std::wstring_view propertyName) const {
    if (propertyName == L"Name") return name_;
    if (propertyName == L"Caption" || propertyName == L"Text") return text_;
    if (propertyName == L"Tag") return std::wstring(def_.tag);
    throw std::invalid_argument("no control property of that name");
}

void Control::SetText(std::wstring text) {
    // A Windows edit control repaints and drops its selection on every new text, even the
    // same one: the pointer's every move over a control would make the tip box flicker.
    if (text == text_) return;
    text_ = std::move(text);
    if (view_) view_->ShowText(text_);
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (view_) view_->ShowEnabled(enabled);
}

void Control::SetValue(int state) {
    if (state == value_) return;
    value_ = state;
    if (view_) view_->ShowCheck(state);
    if (def_.kind == ControlKind::CheckBox && onClick) onClick();
}

void Control::UserClick() {
    if (!enabled_) return;
    if (def_.kind == ControlKind::CheckBox) {
        SetValue(value_ == kChecked ? kUnchecked : kChecked);
        return;
    }
    if (onClick) onClick();
}

void Control::MouseMove() {
    if (onMouseMove) onMouseMove();
}

void Control::KeyboardFocus() {
    if (onKeyboardFocus) onKeyboardFocus();
}

void Control::AttachView(ControlView* view) {
    view_ = view;
    if (!view_) return;
    if (def_.kind == ControlKind::CheckBox) view_->ShowCheck(value_);
    view_->ShowEnabled(enabled_);
}

} // namespace vellicor::ui
