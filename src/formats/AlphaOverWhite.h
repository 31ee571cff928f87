#pragma once

#include <cstdint>

namespace dg {

// A colour channel of a pixel with the given opacity, laid on white paper.
inline std::uint8_t overWhite(unsigned channel, unsigned alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

// One row of blue, green, red, alpha pixels onto a row of blue, green, red pixels over white.
inline void bgraRowOverWhite(const std::uint8_t* in, std::uint8_t* out, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned a = in[3];
        if (a == 255) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        } else {
            out[0] = overWhite(in[0], a);
            out[1] = overWhite(in[1], a);
            out[2] = overWhite(in[2], a);
        }
    }
}

}  // namespace dg
