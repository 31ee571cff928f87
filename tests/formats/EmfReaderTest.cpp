#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/EmfReader.h"
#include "imaging/Failure.h"
#include "support/Damage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe32(Bytes& out, std::int64_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
}

Bytes record(std::uint32_t type, const std::vector<std::int64_t>& fields) {
    Bytes r;
    putLe32(r, type);
    putLe32(r, static_cast<std::int64_t>(8 + 4 * fields.size()));
    for (std::int64_t f : fields) putLe32(r, f);
    return r;
}

struct Rect {
    std::int64_t left, top, right, bottom;
};

// A metafile of filled rectangles without outline, written record by record: header, then
// for each rectangle a solid brush and a null pen, selected, and the rectangle; EMR_EOF last.
// scale multiplies every device coordinate and the reference device's pixel count.
Bytes metafile(const std::vector<std::pair<Rect, ColorValue>>& boxes, Rect frame, int scale = 1) {
    Bytes body;
    std::uint32_t handle = 1;
    Rect bounds{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (const auto& [box, colour] : boxes) {
        const Rect r{box.left * scale, box.top * scale, box.right * scale, box.bottom * scale};
        const Bytes brush = record(39, {handle, 0, colour, 0});  // EMR_CREATEBRUSHINDIRECT
        const Bytes pen = record(38, {handle + 1, 5, 0, 0, 0});  // EMR_CREATEPEN, PS_NULL
        for (const Bytes* b : {&brush, &pen}) body.insert(body.end(), b->begin(), b->end());
        for (std::int64_t h : {std::int64_t{handle}, std::int64_t{handle} + 1}) {
            const Bytes select = record(37, {h});  // EMR_SELECTOBJECT
            body.insert(body.end(), select.begin(), select.end());
        }
        const Bytes rectangle = record(43, {r.left, r.top, r.right, r.bottom});  // EMR_RECTANGLE
        body.insert(body.end(), rectangle.begin(), rectangle.end());
        handle += 2;
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                  std::max(bounds.right, r.right - 1), std::max(bounds.bottom, r.bottom - 1)};
    }
    const Bytes end = record(14, {0, 16, 20});
    body.insert(body.end(), end.begin(), end.end());
    if (boxes.empty()) bounds = {0, 0, -1, -1};

    const std::int64_t records = static_cast<std::int64_t>(boxes.size() * 5 + 2);
    const std::int64_t total = 88 + static_cast<std::int64_t>(body.size());
    Bytes file = record(1, {bounds.left,
                            bounds.top,
                            bounds.right,
                            bounds.bottom,
                            frame.left,
                            frame.top,
                            frame.right,
                            frame.bottom,
                            0x464D4520,
                            0x10000,
                            total,
                            records,
                            handle,
                            0,
                            0,
                            0,
                            960 * scale,
                            480 * scale,
                            254,
                            127});
    // The header's handle count shares its 32 bits with a reserved 16-bit field.
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

RgbImage decode(const Bytes& file) { return decodeEmf(file.data(), file.size()); }

// Compares everywhere but on the one-pixel seam around each box, where the drawing is
// anti-aliased.
::testing::AssertionResult SameAwayFromEdges(const RgbImage& expected, const RgbImage& actual,
                                             const std::vector<Rect>& boxes) {
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        return ::testing::AssertionFailure()
               << "size " << actual.width() << " x " << actual.height() << ", expected " << expected.width()
               << " x " << expected.height();
    }
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            bool seam = false;
            for (const Rect& b : boxes) {
                const bool nearX = x >= b.left - 1 && x <= b.right;
                const bool nearY = y >= b.top - 1 && y <= b.bottom;
                seam = seam ||
                       (nearX && (y == b.top - 1 || y == b.top || y == b.bottom - 1 || y == b.bottom)) ||
                       (nearY && (x == b.left - 1 || x == b.left || x == b.right - 1 || x == b.right));
            }
            if (!seam && expected.pixel(x, y) != actual.pixel(x, y)) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << test::colorText(actual.pixel(x, y))
                       << ", expected " << test::colorText(expected.pixel(x, y));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

const Rect kFrame{0, 0, 2540, 1270};  // one inch by half an inch: 96 x 48 pixels
const Rect kRed{10, 8, 50, 30};
const Rect kBlue{40, 20, 90, 44};

RgbImage expectedPicture() {
    RgbImage picture(96, 48);
    for (const auto& [b, c] :
         {std::pair{kRed, makeColor(255, 0, 0)}, std::pair{kBlue, makeColor(0, 0, 255)}}) {
        for (std::int64_t y = b.top; y < b.bottom; ++y) {
            for (std::int64_t x = b.left; x < b.right; ++x)
                picture.setPixel(static_cast<int>(x), static_cast<int>(y), c);
        }
    }
    return picture;
}

TEST(EmfReader, DrawsTheRecordsOnWhiteAtTheFrameSize) {
    // Colours in the records are 0x00BBGGRR, as colour values are.
    const std::vector<std::pair<Rect, ColorValue>> boxes = {{kRed, makeColor(255, 0, 0)},
                                                            {kBlue, makeColor(0, 0, 255)}};
    EXPECT_TRUE(SameAwayFromEdges(expectedPicture(), decode(metafile(boxes, kFrame)), {kRed, kBlue}));
    // A reference device of twice the resolution: the same picture.
    EXPECT_TRUE(SameAwayFromEdges(expectedPicture(), decode(metafile(boxes, kFrame, 2)), {kRed, kBlue}));
    // A frame starting elsewhere moves the drawing: 1 inch = 2540 hundredths = 96 pixels.
    const RgbImage shifted = decode(metafile(boxes, {-2540 / 8, 0, 2540 - 2540 / 8, 1270}));
    EXPECT_EQ(shifted.pixel(12 + 12, 20), makeColor(255, 0, 0));
    EXPECT_EQ(shifted.pixel(12 + 12 - 10, 20), kWhite);
    // Nothing drawn: white paper.
    EXPECT_TRUE(test::SameImage(RgbImage(96, 48), decode(metafile({}, kFrame))));
}

TEST(EmfReader, EveryCutShortFileFails) {
    const Bytes file = metafile({{kRed, makeColor(1, 2, 3)}}, kFrame);
    for (std::size_t cut = 0; cut < file.size(); cut += 2) {
        EXPECT_THROW(decodeEmf(file.data(), cut), Failure) << "cut at " << cut << " of " << file.size();
    }
}

TEST(EmfReader, DamagedHeadersAndRecordsFail) {
    const Bytes good = metafile({{kRed, makeColor(1, 2, 3)}}, kFrame);
    ASSERT_NO_THROW(decode(good));
    struct Case {
        const char* name;
        std::size_t offset;
        std::int64_t value;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"first record not the header", 0, 2, "Not an enhanced metafile"},
        {"signature", 40, 0x464D4521, "Not an enhanced metafile"},
        {"header size below its fields", 4, 80, "header"},
        {"record size not a multiple of 4", 88 + 4, 22, "bad size"},
        {"record size below its head", 88 + 4, 4, "bad size"},
        {"record past the end", 88 + 4, 4000, "cut short"},
        {"no end record", static_cast<std::size_t>(good.size()) - 20, 70, "cut short"},
        {"device without millimetres", 80, 0, "reference device"},
        {"empty frame", 32, 0, "frame"},
        {"huge frame", 32, 100000LL * 2540 / 96, "too large"},
    };
    for (const Case& c : cases) {
        Bytes bad = good;
        for (int i = 0; i < 4; ++i)
            bad[c.offset + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(static_cast<std::uint64_t>(c.value) >> (8 * i));
        EXPECT_TRUE(test::FailsWith([&] { decode(bad); }, c.message)) << c.name;
    }
}

TEST(EmfReader, RandomDamageGivesAPictureOrAFailure) {
    test::decodeRandomlyDamaged(
        {metafile({{kRed, makeColor(255, 0, 0)}, {kBlue, makeColor(0, 0, 255)}}, kFrame)}, 400, 5,
        [](const Bytes& bad) { decode(bad); });
}

}  // namespace
}  // namespace dg
