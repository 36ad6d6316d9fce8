#ifndef MVPR_IMAGING_BYTEORDER_H
#define MVPR_IMAGING_BYTEORDER_H

#include <cstddef>
#include <cstdint>
#include <span>

namespace mvpr::bytes {

// Little-endian reads; the caller has checked that the bytes are there.
inline std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

inline std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::int32_t LeI32(const std::uint8_t* p) { return static_cast<std::int32_t>(Le32(p)); }

// True when [offset, offset + count) lies inside a buffer of the given size, without overflow.
inline bool Fits(std::size_t size, std::size_t offset, std::size_t count) {
    return offset <= size && count <= size - offset;
}

inline void PutLe16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace mvpr::bytes

#endif
