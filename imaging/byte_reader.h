// Bounds-checked little-endian reads from a byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace imaging {

using Bytes = std::span<const std::uint8_t>;

inline bool HasBytes(Bytes bytes, std::uint64_t offset, std::uint64_t count)
{
    return offset <= bytes.size() && count <= bytes.size() - offset;
}

inline std::optional<std::uint16_t> ReadU16(Bytes bytes, std::uint64_t offset)
{
    if (!HasBytes(bytes, offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::optional<std::uint32_t> ReadU32(Bytes bytes, std::uint64_t offset)
{
    if (!HasBytes(bytes, offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

inline std::optional<std::int32_t> ReadI32(Bytes bytes, std::uint64_t offset)
{
    auto value = ReadU32(bytes, offset);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

}  // namespace imaging
