// Registry data comes from whatever other programs wrote. Whatever the bytes, decoding
// must not crash, and must take exactly what the documented rules take, as the bytes
// hold it.
#include "registry/RegistryData.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

using namespace vellicor::registry;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    const std::uint32_t type = bytes[0] % 13; // every type the registry defines, and a few it doesn't
    const std::span<const std::uint8_t> data(bytes + 1, size - 1);

    // A number only from the four bytes of a DWORD, little- or big-endian, or the eight of a
    // QWORD whose value fits in 32 signed bits: the value read from the bytes here.
    std::uint64_t held = 0;
    for (std::size_t i = 0; i < data.size() && i < 8; ++i)
        held |= std::uint64_t(data[type == kRegDwordBigEndian ? data.size() - 1 - i : i]) << (8 * i);
    std::optional<std::int32_t> number;
    if ((type == kRegDword || type == kRegDwordBigEndian) && data.size() == 4)
        number = std::int32_t(std::uint32_t(held));
    if (type == kRegQword && data.size() == 8 && std::int64_t(held) == std::int32_t(held)) number = std::int32_t(held);
    Check(DecodeInteger(type, data) == number);

    if (const auto text = DecodeText(type, data)) {
        Check(type == kRegSz || type == kRegExpandSz);
        Check(data.size() % 2 == 0);
        // The UTF-16LE units up to the first NUL or the end, nothing more or less.
        const auto unit = [&](std::size_t i) { return wchar_t(data[2 * i] | data[2 * i + 1] << 8); };
        for (std::size_t i = 0; i < text->size(); ++i)
            Check(2 * i + 1 < data.size() && unit(i) != L'\0' && (*text)[i] == unit(i));
        Check(2 * text->size() == data.size() || unit(text->size()) == L'\0');
    }
    return 0;
}
