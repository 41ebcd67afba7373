#include "ui/toolkit/WindowModel.h"

#include <stdexcept>
#include <string>

namespace vellicor::ui {

WindowModel::WindowModel(std::span<const ControlDef> definition) {
    controls_.reserve(definition.size());
    for (const ControlDef& def : definition) controls_.push_back(std::make_unique<Control>(def));
}

Control* WindowModel::Find(std::wstring_view name, int index) const {
    for (const auto& control : controls_) {
        if (control->Name() == name && control->Definition().index == index) return control.get();
    }
    return nullptr;
}

Control& WindowModel::Get(std::wstring_view name, int index) const {
    if (Control* control = Find(name, index)) return *control;
    throw std::invalid_argument("no control of that name in the window");
}

void WindowModel::DefineOperation(std::wstring name, std::function<void()> operation) {
    operations_[std::move(name)] = std::move(operation);
}

void WindowModel::CallByName(std::wstring_view name) const {
    const auto it = operations_.find(name);
    if (it == operations_.end()) throw std::invalid_argument("no operation of that name in the window");
    it->second();
}

} // namespace vellicor::ui
