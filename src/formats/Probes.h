#pragma once

#include <cstddef>
#include <cstdint>

namespace dg {

// Content probes: each looks at the start of a file and answers whether its reader can
// decode it. They check the header's fields for values the format allows, not just a magic
// number, because the first probes run on every file (Targa has no magic number at all) and
// a loose probe would steal files from the readers after it.
bool looksTga(const std::uint8_t* data, std::size_t size);
bool looksTiff(const std::uint8_t* data, std::size_t size);
bool looksEps(const std::uint8_t* data, std::size_t size);
bool looksPcx(const std::uint8_t* data, std::size_t size);  // ZSoft PCX proper (first byte 0x0A)
bool looksRla(const std::uint8_t* data, std::size_t size);
bool looksSgi(const std::uint8_t* data, std::size_t size);
bool looksPnm(const std::uint8_t* data, std::size_t size);
bool looksPcd(const std::uint8_t* data, std::size_t size);
bool looksCut(const std::uint8_t* data, std::size_t size);
bool looksPng(const std::uint8_t* data, std::size_t size);

// The picture size a header claims, for the formats whose decoder is a library that would
// otherwise size its buffers from the header before looking further. Each returns false
// when the header is too short to say.
struct ClaimedSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};
bool tgaSize(const std::uint8_t* data, std::size_t size, ClaimedSize& claimed);
bool pcxSize(const std::uint8_t* data, std::size_t size, ClaimedSize& claimed);
bool rlaSize(const std::uint8_t* data, std::size_t size, ClaimedSize& claimed);
bool sgiSize(const std::uint8_t* data, std::size_t size, ClaimedSize& claimed);
bool pnmSize(const std::uint8_t* data, std::size_t size, ClaimedSize& claimed);
bool cutSize(const std::uint8_t* data, std::size_t size, ClaimedSize& claimed);

}  // namespace dg
