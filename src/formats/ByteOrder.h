#pragma once

#include <cstdint>

namespace dg::bytes {

inline std::uint32_t le16(const std::uint8_t* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
inline std::uint32_t le32(const std::uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }
inline std::uint32_t be16(const std::uint8_t* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }
inline std::uint32_t be32(const std::uint8_t* p) { return (be16(p) << 16) | be16(p + 2); }

}  // namespace dg::bytes
