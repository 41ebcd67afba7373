#pragma once

#include "ui/toolkit/Control.h"
#include "ui/toolkit/ControlDef.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellicor::ui {

// A window's controls, built from its definition table and kept in creation order,
// and its public operations, callable by name.
class WindowModel {
public:
    explicit WindowModel(std::span<const ControlDef> definition);

    // In creation order.
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    // The control of that name (and index, for a control array). A name that is not in the
    // table is a bug, not a failure of the system: std::invalid_argument.
    Control& Get(std::wstring_view name, int index = -1) const;
    // The same, or null.
    Control* Find(std::wstring_view name, int index = -1) const;

    void DefineOperation(std::wstring name, std::function<void()> operation);
    // Calls the operation as a method with no arguments; std::invalid_argument when the
    // window has none of that name (a bug).
    void CallByName(std::wstring_view name) const;

private:
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::wstring, std::function<void()>, std::less<>> operations_;
};

} // namespace vellicor::ui
