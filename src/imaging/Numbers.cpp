#include "imaging/Numbers.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace dg {

// The default floating-point environment rounds to nearest with ties to even, which is what
// nearbyint follows.
std::int64_t roundHalfEven(float value) { return static_cast<std::int64_t>(std::nearbyintf(value)); }
std::int64_t roundHalfEven(double value) { return static_cast<std::int64_t>(std::nearbyint(value)); }
std::int64_t roundHalfEven(long double value) { return static_cast<std::int64_t>(std::nearbyintl(value)); }

namespace {

// Numbers are written and read with a decimal point whatever the desktop's locale: the Qt
// application takes LC_NUMERIC from the desktop, and a German or French desktop would
// otherwise write "0,5" in one place and fail to read it back in another.
// The whole "C" locale is the C library's own object: nothing is loaded or allocated.
locale_t classicNumbers() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

std::string shortestText(double value) {
    if (value == 0.0 || std::isnan(value)) return "0";  // also folds -0 into 0
    // 15 significant digits in the %g form drop trailing zeros; the exponent appears only
    // below 1e-4 and from 1e15 on, far outside anything the program shows.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, written.ptr);
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double parsed = strtod_l(begin, &end, classicNumbers());
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
