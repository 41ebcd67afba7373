#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellicor::registry {

// Registry data types, with the system's numbers.
enum ValueType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
    kRegQword = 11,
};

// A value as the registry stores it: its type and its bytes, unchecked.
struct RawValue {
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;

    friend bool operator==(const RawValue&, const RawValue&) = default;
};

// What counts as an integer: a REG_DWORD or REG_DWORD_BIG_ENDIAN of exactly four
// bytes, and a REG_QWORD of exactly eight bytes whose value fits in 32 signed bits.
// Text, short or long data and every other type are not integers.
std::optional<std::int32_t> DecodeInteger(std::uint32_t type, std::span<const std::uint8_t> data);

// What counts as text: REG_SZ and REG_EXPAND_SZ (unexpanded) of an even size, read as
// UTF-16LE up to the first NUL or the end of the data.
std::optional<std::wstring> DecodeText(std::uint32_t type, std::span<const std::uint8_t> data);

// The data of a REG_DWORD holding the number.
RawValue EncodeDword(std::int32_t number);

} // namespace vellicor::registry
