#include "ui/toolkit/Window.h"

#include "core/ErrorCodes.h"
#include "core/Failure.h"

namespace vellicor::ui {

Window::Window(std::span<const ControlDef> definition) {
    controls_.reserve(definition.size());
    for (const ControlDef& def : definition) controls_.push_back(std::make_unique<Control>(def));
}

Control& Window::Get(std::wstring_view name, int index) const {
    for (const auto& control : controls_) {
        if (control->Name() == name && control->Definition().index == index) return *control;
    }
    throw SystemFailure(errors::kInvalidParameter);
}

void Window::DefineOperation(std::wstring name, std::function<void()> operation) {
    operations_[std::move(name)] = std::move(operation);
}

void Window::CallByName(std::wstring_view name) const {
    const auto it = operations_.find(name);
    if (it == operations_.end()) throw SystemFailure(errors::kCallNotImplemented);
    it->second();
}

} // namespace vellicor::ui
