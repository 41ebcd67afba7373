#include "core/Failure.h"

#include "core/ErrorText.h"

namespace vellicor {

Failure SystemFailure(std::int32_t code) { return Failure(code, SystemErrorText(code)); }

} // namespace vellicor
