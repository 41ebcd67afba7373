#include "app/AboutForm.h"

namespace vellicor::app {

AboutForm::AboutForm(ui::WindowModel& window, platform::Shell& shell, AboutHost& host)
    : window_(window), shell_(shell), host_(host) {
    window_.Get(L"cmdOK").onClick = [this] { cmdOK_Click(); };
    for (const auto& control : window_.Controls()) {
        if (control->Name() != L"lblLink") continue;
        const int index = control->Definition().index;
        control->onClick = [this, index] { lblLink_Click(index); };
    }
}

void AboutForm::Form_Load(const std::optional<ui::ProgramVersion>& version) {
    if (!version) return;
    ui::Control& title = window_.Get(L"lblTitle");
    title.SetText(ui::ComposeTitle(title.Text(), *version));
}

void AboutForm::cmdOK_Click() { host_.Close(); }

void AboutForm::lblLink_Click(int index) { shell_.Open(window_.Get(L"lblLink", index).Property(L"Tag")); }

} // namespace vellicor::app
