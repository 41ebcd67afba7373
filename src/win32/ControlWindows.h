#pragma once

#include "ui/toolkit/WindowModel.h"

#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

namespace vellicor::win32 {

// The standard child windows (BUTTON, EDIT, STATIC) that show a window model's controls,
// made in tab order with their arrow-key groups; drawn lines have none. Each control's
// changes reach its window through a view attached for as long as this lives.
class ControlWindows {
public:
    // Ids follow the model's creation order from here, above IDOK, IDCANCEL and the other
    // dialog ids.
    static constexpr int kFirstId = 100;

    // Throws the system's Failure when a control's window cannot be made.
    ControlWindows(ui::WindowModel& model, HWND parent, unsigned dpi);
    ~ControlWindows();
    ControlWindows(const ControlWindows&) = delete;
    ControlWindows& operator=(const ControlWindows&) = delete;

    // The window of the model's i-th control; null for one that is drawn.
    HWND Window(std::size_t index) const;
    // The control behind a child window's id; null for any other id.
    ui::Control* ControlById(int id) const;
    // The id of the control of that name; 0 when there is none.
    int IdOf(std::wstring_view name) const;
    // Puts every window where the model puts its control at the density.
    void Place(unsigned dpi) const;

private:
    class View;

    ui::WindowModel& model_;
    std::vector<std::unique_ptr<View>> views_; // parallel to the model's controls
};

} // namespace vellicor::win32
