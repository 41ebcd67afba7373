#pragma once

#include "core/Win32Values.h"
#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace vellicor::test {

// Records every message box and answers from a script (OK when the script is empty).
class FakeDialogs : public platform::Dialogs {
public:
    struct Shown {
        std::wstring text;
        unsigned style;
    };

    int Show(const std::wstring& text, unsigned style) override {
        shown.push_back({text, style});
        if (answers.empty()) return win32values::kIdOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
};

} // namespace vellicor::test
