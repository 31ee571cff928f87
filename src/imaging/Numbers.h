#pragma once

#include <cstdint>
#include <string>

namespace dg {

// Rounding of a real to an integer: to nearest, halves to the even neighbour, in the
// precision of the argument (single, double or extended).
std::int64_t roundHalfEven(float value);
std::int64_t roundHalfEven(double value);
std::int64_t roundHalfEven(long double value);

// The shortest decimal text of a number with up to 15 significant digits, the way every
// number is shown: 8.5, 29.7, 8.27, 12, 0.05.
std::string shortestText(double value);

// Parses a number written by shortestText (or typed by the user); false when the text is
// not a number.
bool parseNumber(const std::string& text, double& value);

// A channel's share of its picture: round(count / total * 100 * 100) / 100, in extended
// precision; 0 for an empty picture.
double channelPercentage(std::int64_t count, std::int64_t total);
// Its text: at most two decimals, no trailing zeros (12.34, 12.3, 12, 0.05, 0).
std::string channelPercentageText(std::int64_t count, std::int64_t total);

}  // namespace dg
