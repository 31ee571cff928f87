#pragma once

// Random walks over the enhance controls, taken by two front ends: the enhance screen, driven
// through its widgets, and the headless session under it. Both are checked after every step
// against one record of what the step left (tests/fixtures/enhance/walks.txt), written from
// the screen as it was before its state moved out of the widgets.
//
// DG_RECORD_ENHANCE_WALKS=<file> writes the walks a front end takes to that file instead of
// checking them.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"
#include "support/ImageCompare.h"

namespace dg::test::walks {

// The nine controls in the order Open resets them; the first four are the typed fields.
inline constexpr int kControls = 9;
inline constexpr int kFields = 4;
struct ControlInfo {
    const char* caption;
    int minimum;
    int maximum;
};
inline constexpr std::array<ControlInfo, kControls> kControlInfo{{{"CONTRAST", -30, 30},
                                                                  {"SATURATION", 0, 50},
                                                                  {"BLUR", 0, 20},
                                                                  {"SHARPEN", 0, 30},
                                                                  {"POSTERIZE", 0, 255},
                                                                  {"BRIGHTNESS", -100, 100},
                                                                  {"RED-GREEN", -15, 15},
                                                                  {"GREEN-BLUE", -15, 15},
                                                                  {"RED-BLUE", -15, 15}}};
inline constexpr std::array<const char*, 3> kReductions{"TRUE COLOR", "UP TO 256 COLORS", "UP TO 16 COLORS"};

struct Step {
    enum class Kind {
        Set,          // the program (or an arrow) sets a control: clamped into its range
        Type,         // the user types a number into an empty field, one key at a time
        Leave,        // a field loses the focus
        Grey,         // GREY `control`
        Optimize,     //
        Undo,         // pressed; nothing when disabled
        UndoAll,      // pressed; nothing when disabled
        Reduce,       // the colour-reduction option `control` is clicked
        OkAndReopen,  // OK, then the screen is opened again on the walk's picture
        CancelAndReopen
    };
    Kind kind;
    int control = 0;
    int value = 0;

    std::string text() const {
        const std::string name = control >= 0 && control < kControls ? kControlInfo[control].caption : "?";
        switch (kind) {
            case Kind::Set:
                return "set " + name + " to " + std::to_string(value);
            case Kind::Type:
                return "type " + std::to_string(value) + " into " + name;
            case Kind::Leave:
                return "leave " + name;
            case Kind::Grey:
                return "GREY " + std::to_string(control);
            case Kind::Optimize:
                return "OPTIMIZE";
            case Kind::Undo:
                return "UNDO";
            case Kind::UndoAll:
                return "UNDO ALL";
            case Kind::Reduce:
                return std::string("choose ") + kReductions[static_cast<std::size_t>(control)];
            case Kind::OkAndReopen:
                return "OK, open again";
            case Kind::CancelAndReopen:
                return "CANCEL, open again";
        }
        return "?";
    }
};

// What a step left, as both front ends show it.
struct State {
    RgbImage working;
    std::array<int, kControls> values{};
    int reduction = 0;
    bool undo = false;
    bool undoAll = false;
    std::string activeKind;

    std::string text() const {
        // FNV-1a over the pixel bytes (not the row padding).
        std::uint64_t hash = 14695981039346656037ull;
        for (std::int32_t y = 0; y < working.height(); ++y) {
            const std::uint8_t* row = working.row(y);
            for (std::int32_t i = 0; i < 3 * working.width(); ++i) hash = (hash ^ row[i]) * 1099511628211ull;
        }
        std::ostringstream out;
        out << working.width() << "x" << working.height() << " #" << std::hex << hash << std::dec << " |";
        for (int v : values) out << ' ' << v;
        out << " | " << kReductions[static_cast<std::size_t>(reduction)] << " | undo "
            << (undo ? "on" : "off") << ", undo all " << (undoAll ? "on" : "off") << " | " << activeKind;
        return out.str();
    }
};

// The same steps on every machine: the engine's output is fixed by the standard, and the
// numbers are taken from it by plain remainders.
inline std::vector<Step> walk(std::uint32_t seed, int steps) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<std::uint32_t>(n)); };
    auto between = [&](int low, int high) { return low + pick(high - low + 1); };
    std::vector<Step> out;
    for (int i = 0; i < steps; ++i) {
        const int roll = pick(100);
        Step s{Step::Kind::Set};
        if (roll < 44) {
            s.control = pick(kControls);
            const ControlInfo& c = kControlInfo[static_cast<std::size_t>(s.control)];
            const int how = pick(4);
            s.value = how == 0 ? 0 : (how == 3 ? between(c.minimum - 2, c.maximum + 2) : between(-3, 3));
        } else if (roll < 54) {
            s.kind = Step::Kind::Type;
            s.control = pick(kFields);
            const ControlInfo& c = kControlInfo[static_cast<std::size_t>(s.control)];
            s.value = between(c.minimum - 12, c.maximum + 12);
        } else if (roll < 59) {
            s.kind = Step::Kind::Leave;
            s.control = pick(kFields);
        } else if (roll < 67) {
            s.kind = Step::Kind::Grey;
            s.control = 1 + pick(8);
        } else if (roll < 71) {
            s.kind = Step::Kind::Optimize;
        } else if (roll < 79) {
            s.kind = Step::Kind::Undo;
        } else if (roll < 82) {
            s.kind = Step::Kind::UndoAll;
        } else if (roll < 92) {
            s.kind = Step::Kind::Reduce;
            s.control = pick(3);
        } else if (roll < 96) {
            s.kind = Step::Kind::OkAndReopen;
        } else {
            s.kind = Step::Kind::CancelAndReopen;
        }
        out.push_back(s);
    }
    return out;
}

// The text of a field while a number is typed into it, one key at a time, after the text was
// cleared: a key is refused when the text would no longer be an integer of at most as many
// digits as the range's bounds have, and the program may put new text in between two keys (a
// nested change that sets the field), after which the next key goes at the end of that text.
class TypedField {
public:
    explicit TypedField(int control) : range_(kControlInfo[static_cast<std::size_t>(control)]) {
        digits_ = std::max(std::to_string(std::abs(range_.minimum)).size(),
                           std::to_string(std::abs(range_.maximum)).size());
    }
    void clear() { text_.clear(); }
    // False when the key is refused.
    bool key(char c) {
        const std::string longer = text_ + c;
        const std::size_t sign = !longer.empty() && longer[0] == '-' ? 1 : 0;
        const std::string digits = longer.substr(sign);
        if (digits.size() > digits_ || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        text_ = longer;
        return true;
    }
    // What the text reads: the bottom of the range when it is empty or a lone minus sign.
    int value() const { return text_.empty() || text_ == "-" ? range_.minimum : std::stoi(text_); }
    void show(int value) { text_ = std::to_string(value); }

private:
    ControlInfo range_;
    std::size_t digits_;
    std::string text_;
};

// A front end the walks run on.
class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    // Opens the screen on a picture, as TRIBAL CREATION or the separation screen does.
    virtual void open(const RgbImage& picture, bool tribal) = 0;
    virtual void take(const Step& step, bool tribal) = 0;
    virtual State state() = 0;
};

inline constexpr int kWalks = 12;
inline constexpr int kSteps = 60;

// Each walk on its own small picture, odd walks in the tribal task, even ones in the colour
// task, one after the other on the same front end (so a walk may open the screen with the
// controls the last one left); one line per step.
inline void runWalks(FrontEnd& frontEnd) {
    const char* recordTo = std::getenv("DG_RECORD_ENHANCE_WALKS");
    std::vector<std::string> recorded;
    if (recordTo == nullptr) {
        std::ifstream in(fixturePath("enhance/walks.txt"));
        ASSERT_TRUE(in) << "no record of the enhance walks";
        for (std::string line; std::getline(in, line);) recorded.push_back(line);
        ASSERT_EQ(recorded.size(), static_cast<std::size_t>(kWalks * (kSteps + 1)));
    }
    std::vector<std::string> lines;
    for (int w = 0; w < kWalks; ++w) {
        const bool tribal = w % 2 == 1;
        const RgbImage picture = randomImage(7, 5, static_cast<std::uint32_t>(100 + w));
        frontEnd.open(picture, tribal);
        const std::vector<Step> steps = walk(static_cast<std::uint32_t>(w + 1), kSteps);
        for (int i = 0; i <= kSteps; ++i) {
            if (i > 0) frontEnd.take(steps[static_cast<std::size_t>(i - 1)], tribal);
            const std::string what = i == 0 ? "open" : steps[static_cast<std::size_t>(i - 1)].text();
            const std::string line = "walk " + std::to_string(w) + " step " + std::to_string(i) + ": " +
                                     what + " -> " + frontEnd.state().text();
            if (recordTo == nullptr) {
                const std::string& expected = recorded[lines.size()];
                if (line != expected) {
                    // The walks go on from where the last one left the front end, so the
                    // first difference is the only one worth reading.
                    ADD_FAILURE() << "first difference, in walk " << w
                                  << "\n  after:    " << (lines.empty() ? std::string("-") : lines.back())
                                  << "\n  expected: " << expected << "\n  actual:   " << line;
                    return;
                }
            }
            lines.push_back(line);
        }
    }
    if (recordTo != nullptr) {
        std::ofstream out(recordTo);
        for (const std::string& line : lines) out << line << '\n';
    }
}

}  // namespace dg::test::walks
