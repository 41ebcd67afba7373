#pragma once

#include "platform/Shell.h"
#include "ui/AboutLayout.h"
#include "ui/toolkit/WindowModel.h"

#include <optional>

namespace vellicor::app {

// What the About window's logic asks of the window that shows it.
class AboutHost {
public:
    virtual ~AboutHost() = default;
    // Ends the modal display; the opener then unloads the window.
    virtual void Close() = 0;
};

// The About window's logic over its toolkit model (built from AboutLayout()): the
// title, the OK button and the four links.
class AboutForm {
public:
    AboutForm(ui::WindowModel& window, platform::Shell& shell, AboutHost& host);

    // Before the window is first shown. Without a version (the program file's version
    // block could not be read) the title keeps its creation caption.
    void Form_Load(const std::optional<ui::ProgramVersion>& version);

    void cmdOK_Click();
    void lblLink_Click(int index);

private:
    ui::WindowModel& window_;
    platform::Shell& shell_;
    AboutHost& host_;
};

} // namespace vellicor::app
