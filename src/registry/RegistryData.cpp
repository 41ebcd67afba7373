#include "registry/RegistryData.h"

#include <limits>

namespace vellicor::registry {

namespace {

std::uint64_t LittleEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t result = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        result = (result << 8) | bytes[i];
    }
    return result;
}

std::uint64_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t result = 0;
    for (std::uint8_t byte : bytes) {
        result = (result << 8) | byte;
    }
    return result;
}

} // namespace

std::optional<std::int32_t> DecodeInteger(std::uint32_t type, std::span<const std::uint8_t> data) {
    switch (type) {
    case kRegDword:
        if (data.size() != 4) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(data)));
    case kRegDwordBigEndian:
        if (data.size() != 4) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(BigEndian(data)));
    case kRegQword: {
        if (data.size() != 8) return std::nullopt;
        const auto wide = static_cast<std::int64_t>(LittleEndian(data));
        if (wide < std::numeric_limits<std::int32_t>::min() || wide > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(wide);
    }
    default: return std::nullopt;
    }
}

std::optional<std::wstring> DecodeText(std::uint32_t type, std::span<const std::uint8_t> data) {
    if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
    if (data.size() % 2 != 0) return std::nullopt;
    std::wstring text;
    text.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\0') break;
        text.push_back(unit);
    }
    return text;
}

RawValue EncodeDword(std::int32_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    RawValue value{kRegDword, {}};
    for (unsigned shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<std::uint8_t>(bits >> shift));
    return value;
}

} // namespace vellicor::registry
