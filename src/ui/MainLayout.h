#pragma once

#include "ui/toolkit/ControlDef.h"

#include <span>

namespace vellicor::ui {

// The main window: client size in twips, and its controls in creation order (the order
// the refresh sweep walks).
inline constexpr int kMainClientWidth = 5895;
inline constexpr int kMainClientHeight = 4455;
inline constexpr const wchar_t* kMainCaption = L"Vellicor";

std::span<const ControlDef> MainLayout();

} // namespace vellicor::ui
