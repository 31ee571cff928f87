#include "imaging/Numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace dg {

// The default floating-point environment rounds to nearest with ties to even, which is what
// nearbyint follows.
std::int64_t roundHalfEven(float value) { return static_cast<std::int64_t>(std::nearbyintf(value)); }
std::int64_t roundHalfEven(double value) { return static_cast<std::int64_t>(std::nearbyint(value)); }
std::int64_t roundHalfEven(long double value) {
    return static_cast<std::int64_t>(std::nearbyintl(value));
}

std::string shortestText(double value) {
    if (value == 0.0 || std::isnan(value)) return "0";  // also folds -0 into 0
    // %g with 15 significant digits already drops trailing zeros; it switches to an exponent
    // only below 1e-4 and from 1e15 on, far outside anything the program shows.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE) return false;
    while (*end == ' ') ++end;
    if (*end != '\0') return false;
    value = parsed;
    return true;
}

double channelPercentage(std::int64_t count, std::int64_t total) {
    if (total <= 0) return 0.0;
    const long double share =
        static_cast<long double>(count) / static_cast<long double>(total) * 100.0L * 100.0L;
    return static_cast<double>(static_cast<long double>(roundHalfEven(share)) / 100.0L);
}

std::string channelPercentageText(std::int64_t count, std::int64_t total) {
    return shortestText(channelPercentage(count, total));
}

}  // namespace dg
