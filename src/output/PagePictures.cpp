#include "output/PagePictures.h"

namespace dg {

const RgbImage& PagePictures::channelMask(int n) const {
    static const RgbImage none;
    return channels != nullptr ? channels->channel(n).mask : none;
}

}  // namespace dg
