#include "core/Failure.h"

#include "platform/ErrorText.h"

namespace vellicor {

Failure SystemFailure(std::int32_t code) {
    return Failure(code, platform::SystemErrorText(code));
}

} // namespace vellicor
