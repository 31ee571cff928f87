#include "platform/qt/CupsQueue.h"

#include <cups/cups.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace dg {

namespace {

struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct InfoFree {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestPtr = std::unique_ptr<cups_dest_t, DestFree>;
using InfoPtr = std::unique_ptr<cups_dinfo_t, InfoFree>;

// The queue with the user's own defaults (lpoptions) and what the print system reports on it.
struct Queue {
    DestPtr dest;
    InfoPtr info;
};

std::optional<Queue> openQueue(const std::string& name) {
    if (name.empty()) return std::nullopt;
    DestPtr dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr));
    if (!dest) return std::nullopt;
    InfoPtr info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info) return std::nullopt;
    return Queue{std::move(dest), std::move(info)};
}

int toDpi(int value, ipp_res_t units) {
    return units == IPP_RES_PER_CM ? static_cast<int>(std::lround(value * 2.54)) : value;
}

}  // namespace

std::optional<int> parseResolution(const std::string& text) {
    int x = 0, y = 0;
    char unit[8] = {};
    const int fields = std::sscanf(text.c_str(), "%dx%d%7s", &x, &y, unit);
    if (fields < 3) {
        y = 0;
        if (std::sscanf(text.c_str(), "%d%7s", &x, unit) != 2) return std::nullopt;
        y = x;
    }
    const std::string u(unit);
    if (y <= 0 || (u != "dpi" && u != "dpcm")) return std::nullopt;
    return toDpi(y, u == "dpcm" ? IPP_RES_PER_CM : IPP_RES_PER_INCH);
}

QueueSettings queueSettings(const std::string& name, int widthHundredthsMm, int lengthHundredthsMm) {
    QueueSettings settings;
    const auto queue = openQueue(name);
    if (!queue) return settings;
    for (const char* option : {"printer-resolution", "Resolution"}) {
        const char* value = cupsGetOption(option, queue->dest->num_options, queue->dest->options);
        if (value != nullptr) settings.dpi = parseResolution(value);
        if (settings.dpi) break;
    }
    if (!settings.dpi) {
        ipp_attribute_t* attribute = cupsFindDestDefault(CUPS_HTTP_DEFAULT, queue->dest.get(),
                                                         queue->info.get(), "printer-resolution");
        int y = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        if (attribute != nullptr && ippGetValueTag(attribute) == IPP_TAG_RESOLUTION)
            ippGetResolution(attribute, 0, &y, &units);
        if (y > 0) settings.dpi = toDpi(y, units);
    }
    cups_size_t size{};
    if (cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, queue->dest.get(), queue->info.get(), widthHundredthsMm,
                               lengthHundredthsMm, CUPS_MEDIA_FLAGS_DEFAULT, &size))
        settings.margins = PaperMargins{size.left, size.top, size.right, size.bottom};
    return settings;
}

}  // namespace dg
