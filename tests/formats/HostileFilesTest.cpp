// Files that are damaged, cut short, lie about their size, or are made to hurt: every reader
// answers with a picture or a message in plain words, quickly, in bounded memory, and without
// writing anything to the terminal.
#include <fcntl.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif
#include <gtest/gtest.h>
#include <magick/api.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "FormatTestSupport.h"
#include "formats/MagickReader.h"
#include "formats/PictureLimits.h"
#include "formats/PictureReaders.h"
#include "formats/ReaderRegistry.h"
#include "imaging/Failure.h"
#include "support/Damage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fixture(const std::string& name) { return test::fileBytes(test::fixturePath("formats/" + name)); }

void put16(Bytes& b, std::size_t at, unsigned v, bool big) {
    b.at(at + (big ? 1 : 0)) = static_cast<std::uint8_t>(v);
    b.at(at + (big ? 0 : 1)) = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v, bool big) {
    for (int i = 0; i < 4; ++i) b.at(at + (big ? 3 - i : i)) = static_cast<std::uint8_t>(v >> (8 * i));
}
unsigned get16(const Bytes& b, std::size_t at, bool big) {
    return big ? (b.at(at) << 8 | b.at(at + 1)) : (b.at(at) | b.at(at + 1) << 8);
}
std::uint32_t get32(const Bytes& b, std::size_t at, bool big) {
    return big ? (get16(b, at, true) << 16 | get16(b, at + 2, true))
               : (get16(b, at, false) | get16(b, at + 2, false) << 16);
}

void replaceText(Bytes& b, const std::string& from, const std::string& to) {
    std::string text(b.begin(), b.end());
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    b.assign(text.begin(), text.end());
}

// Where the header of each kind of file says how large the picture is. Fields of 16 bits
// claim 65535, the most they hold; the others 100000.
constexpr std::uint32_t kHuge = 100000;

void claimDib(Bytes& b, std::size_t at) {
    put32(b, at + 4, kHuge, false);
    put32(b, at + 8, kHuge, false);
}
void claimBmp(Bytes& b) { claimDib(b, 14); }
void claimIco(Bytes& b) {
    for (unsigned i = 0; i < get16(b, 4, false); ++i) claimDib(b, get32(b, 6 + 16 * i + 12, false));
}
void claimJpeg(Bytes& b) {
    for (std::size_t i = 2; i + 9 < b.size(); ++i) {
        if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC1 || b[i + 1] == 0xC2)) {
            put16(b, i + 5, 0xFFFF, true);
            put16(b, i + 7, 0xFFFF, true);
            return;
        }
    }
    FAIL() << "no frame header";
}
void claimTiff(Bytes& b) {
    const bool big = b[0] == 'M';
    const std::uint32_t ifd = get32(b, 4, big);
    for (unsigned i = 0; i < get16(b, ifd, big); ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        const unsigned tag = get16(b, entry, big);
        if (tag != 256 && tag != 257) continue;
        if (get16(b, entry + 2, big) == 3) {
            put16(b, entry + 8, 0xFFFF, big);
        } else {
            put32(b, entry + 8, kHuge, big);
        }
    }
}
void claimPng(Bytes& b) {
    put32(b, 16, kHuge, true);
    put32(b, 20, kHuge, true);
    put32(b, 29, static_cast<std::uint32_t>(crc32(0, b.data() + 12, 17)), true);
}
void claimWmf(Bytes& b) {
    // A frame of 65535 units at one unit an inch.
    put16(b, 6, 0x8000, false);
    put16(b, 8, 0x8000, false);
    put16(b, 10, 0x7FFF, false);
    put16(b, 12, 0x7FFF, false);
    put16(b, 14, 1, false);
    unsigned checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= get16(b, i, false);
    put16(b, 20, checksum, false);
}
void claimEmf(Bytes& b) {
    // The drawing's bounds in device pixels (96 an inch) and the frame in hundredths of a
    // millimetre, both 100000 pixels wide and high.
    put32(b, 16, kHuge - 1, false);
    put32(b, 20, kHuge - 1, false);
    put32(b, 32, kHuge * 2540 / 96, false);
    put32(b, 36, kHuge * 2540 / 96, false);
}
void claimPnm(Bytes& b) {
    // The fixtures are 16 x 12.
    replaceText(b, "16 12", "100000 100000");
}
void claimPsp(Bytes& b) {
    // The picture block follows the 32-byte head and version (4), its 10-byte block head and
    // its 4-byte length.
    put32(b, 50, kHuge, false);
    put32(b, 54, kHuge, false);
}

struct DamageCase {
    const char* extension;
    const char* file;                       // under tests/fixtures/formats
    std::size_t header;                     // bytes kept before the random ones
    std::function<void(Bytes&)> claimHuge;  // null where the format has a fixed size
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << "." << c.extension; }

const std::vector<DamageCase>& damageCases() {
    static const std::vector<DamageCase> cases = {
        {"bmp", "rgb-v3.bmp", 54, claimBmp},
        {"dib", "palette8.dib", 54, claimBmp},
        {"rle", "hostile/picture.rle", 54, claimBmp},
        {"ico", "two.ico", 38, claimIco},
        {"wmf", "hostile/picture.wmf", 40, claimWmf},
        {"emf", "hostile/picture.emf", 88, claimEmf},
        {"jpg", "rgb.jpg", 20, claimJpeg},
        {"jpeg", "progressive.jpeg", 20, claimJpeg},
        {"jfif", "grey.jfif", 20, claimJpeg},
        {"jpe", "rgb.jpe", 20, claimJpeg},
        {"win", "rle.win", 18, [](Bytes& b) { put16(b, 12, 0xFFFF, false), put16(b, 14, 0xFFFF, false); }},
        {"vst", "cmap.vst", 18, [](Bytes& b) { put16(b, 12, 0xFFFF, false), put16(b, 14, 0xFFFF, false); }},
        {"vda", "grey.vda", 18, [](Bytes& b) { put16(b, 12, 0xFFFF, false), put16(b, 14, 0xFFFF, false); }},
        {"tga", "rgb.tga", 18, [](Bytes& b) { put16(b, 12, 0xFFFF, false), put16(b, 14, 0xFFFF, false); }},
        {"icb", "rle-gm.icb", 18, [](Bytes& b) { put16(b, 12, 0xFFFF, false), put16(b, 14, 0xFFFF, false); }},
        {"tiff", "lzw.tiff", 8, claimTiff},
        {"tif", "packbits.tif", 8, claimTiff},
        {"fax", "g4.fax", 8, claimTiff},
        {"eps", "rgb.eps", 200,
         [](Bytes& b) { replaceText(b, "%%BoundingBox: 0 0 8 6", "%%BoundingBox: 0 0 50000 50000"); }},
        {"pcx", "rgb.pcx", 128, [](Bytes& b) { put16(b, 8, 0xFFFF, false), put16(b, 10, 0xFFFF, false); }},
        {"pcc", "palette8.pcc", 128,
         [](Bytes& b) { put16(b, 8, 0xFFFF, false), put16(b, 10, 0xFFFF, false); }},
        {"scr", "hostile/picture.scr", 128,
         [](Bytes& b) { put16(b, 8, 0xFFFF, false), put16(b, 10, 0xFFFF, false); }},
        {"rpf", "hostile/picture.rla", 740,
         [](Bytes& b) {
             for (std::size_t at : {2, 6, 10, 14}) put16(b, at, 0xFFFF, true);
         }},
        {"rla", "hostile/picture.rla", 740,
         [](Bytes& b) {
             for (std::size_t at : {2, 6, 10, 14}) put16(b, at, 0xFFFF, true);
         }},
        {"sgi", "rgb.sgi", 512, [](Bytes& b) { put16(b, 6, 0xFFFF, true), put16(b, 8, 0xFFFF, true); }},
        {"rgba", "alpha.rgba", 512, [](Bytes& b) { put16(b, 6, 0xFFFF, true), put16(b, 8, 0xFFFF, true); }},
        {"rgb", "rle.rgb", 512, [](Bytes& b) { put16(b, 6, 0xFFFF, true), put16(b, 8, 0xFFFF, true); }},
        {"bw", "grey.bw", 512, [](Bytes& b) { put16(b, 6, 0xFFFF, true), put16(b, 8, 0xFFFF, true); }},
        {"psd", "hostile/picture.psd", 26,
         [](Bytes& b) { put32(b, 14, kHuge, true), put32(b, 18, kHuge, true); }},
        {"pdd", "hostile/picture.psd", 26,
         [](Bytes& b) { put32(b, 14, kHuge, true), put32(b, 18, kHuge, true); }},
        {"ppm", "rgb.ppm", 15, claimPnm},
        {"pgm", "grey.pgm", 15, claimPnm},
        {"pbm", "mono.pbm", 9, claimPnm},
        {"cel", "hostile/picture.cel", 32 + 768,
         [](Bytes& b) { put16(b, 2, 0xFFFF, false), put16(b, 4, 0xFFFF, false); }},
        {"pic", "hostile/picture.pic", 64,
         [](Bytes& b) { put16(b, 6, 0xFFFF, false), put16(b, 8, 0xFFFF, false); }},
        {"pcd", nullptr, 2048 + 0x30000, nullptr},
        {"cut", "hostile/picture.cut", 6,
         [](Bytes& b) { put16(b, 0, 0xFFFF, false), put16(b, 2, 0xFFFF, false); }},
        {"psp", "hostile/picture.psp", 60, claimPsp},
        {"png", "palette.png", 33, claimPng},
    };
    return cases;
}

// A Photo-CD file has a fixed size and is too large to keep among the fixtures; the library
// writes one.
Bytes photoCd() {
    static const Bytes file = [] {
        std::vector<std::uint8_t> rgb(768 * 512 * 3);
        for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7 / 3);
        ensureMagick();
        ExceptionInfo exception;
        GetExceptionInfo(&exception);
        Image* image = ConstituteImage(768, 512, "RGB", CharPixel, rgb.data(), &exception);
        ImageInfo* info = CloneImageInfo(nullptr);
        std::strcpy(info->magick, "PCD");
        std::strcpy(image->magick, "PCD");
        std::size_t length = 0;
        void* blob = ImageToBlob(info, image, &length, &exception);
        DestroyImage(image);
        DestroyImageInfo(info);
        DestroyExceptionInfo(&exception);
        Bytes bytes(static_cast<std::uint8_t*>(blob), static_cast<std::uint8_t*>(blob) + length);
        MagickFree(blob);
        return bytes;
    }();
    return file;
}

Bytes goodFile(const DamageCase& c) { return c.file != nullptr ? fixture(c.file) : photoCd(); }

// Sends standard output and standard error to a file for its lifetime; what a reader wrote
// there can then be read back. The sanitizers still report on the real standard error.
class CapturedTerminal {
public:
    CapturedTerminal() {
        std::fflush(stdout);
        std::fflush(stderr);
        savedOut_ = ::dup(1);
        savedErr_ = ::dup(2);
        ::dup2(::fileno(file_), 1);
        ::dup2(::fileno(file_), 2);
        reportTo(savedErr_);
    }
    ~CapturedTerminal() { restore(); }
    std::string restore() {
        if (savedOut_ < 0) return text_;
        std::fflush(stdout);
        std::fflush(stderr);
        ::dup2(savedOut_, 1);
        ::dup2(savedErr_, 2);
        reportTo(2);
        ::close(savedOut_);
        ::close(savedErr_);
        savedOut_ = savedErr_ = -1;
        std::rewind(file_);
        char buffer[512];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text_.append(buffer, n);
        std::fclose(file_);
        return text_;
    }

private:
    static void reportTo([[maybe_unused]] int fd) {
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::uintptr_t>(fd)));
#endif
    }
    std::FILE* file_ = std::tmpfile();
    int savedOut_ = -1;
    int savedErr_ = -1;
    std::string text_;
};

struct Answer {
    bool picture = false;
    std::string message;
    double cpuSeconds = 0;
    std::string terminal;
};

Answer read(const Bytes& file, const std::string& extension) {
    Answer answer;
    CapturedTerminal terminal;
    const std::clock_t start = std::clock();
    try {
        const RgbImage picture = readPictureBytes(file.data(), file.size(), extension);
        answer.picture = picture.width() > 0;
    } catch (const Failure& failure) {
        answer.message = failure.what();
    }
    answer.cpuSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    answer.terminal = terminal.restore();
    return answer;
}

long peakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A message a user can act on: a sentence, not a library's internal warning.
::testing::AssertionResult PlainAnswer(const Answer& a, const std::string& what) {
    if (!a.terminal.empty())
        return ::testing::AssertionFailure() << what << " wrote to the terminal: " << a.terminal;
    if (a.cpuSeconds > 1.0) return ::testing::AssertionFailure() << what << " took " << a.cpuSeconds << " s";
    if (a.picture) return ::testing::AssertionSuccess();
    const std::string& m = a.message;
    for (const char* jargon :
         {"tag ignored", "delegate", "Unrecoverable", "Operand stack", "]: ", ": picture: ", "\n"}) {
        if (m.find(jargon) != std::string::npos) {
            return ::testing::AssertionFailure() << what << ": \"" << m << "\" is not in plain words";
        }
    }
    if (m.size() < 12 || m.back() != '.') {
        return ::testing::AssertionFailure() << what << ": \"" << m << "\" is not a sentence";
    }
    return ::testing::AssertionSuccess();
}

class HostileFiles : public ::testing::TestWithParam<DamageCase> {};

TEST_P(HostileFiles, AnswerWithAPictureOrAMessageQuicklyAndQuietly) {
    const DamageCase& c = GetParam();
    const Bytes good = goodFile(c);
    const Answer fine = read(good, c.extension);
    ASSERT_TRUE(fine.picture) << "the good file: " << fine.message;

    const long peakBefore = peakMemoryKb();
    const Answer empty = read({}, c.extension);
    EXPECT_FALSE(empty.picture);
    EXPECT_TRUE(PlainAnswer(empty, "empty"));

    const Bytes half(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    EXPECT_TRUE(PlainAnswer(read(half, c.extension), "cut in the middle"));

    if (c.claimHuge) {
        Bytes huge = good;
        c.claimHuge(huge);
        const Answer a = read(huge, c.extension);
        EXPECT_FALSE(a.picture) << "a header claiming a huge picture";
        EXPECT_TRUE(PlainAnswer(a, "a header claiming a huge picture"));
    }

    std::mt19937 random(std::hash<std::string>{}(c.extension));
    for (int round = 0; round < 3; ++round) {
        Bytes noisy(good.begin(),
                    good.begin() + static_cast<std::ptrdiff_t>(std::min(c.header, good.size())));
        for (std::size_t i = c.header; i < good.size(); ++i)
            noisy.push_back(static_cast<std::uint8_t>(random()));
        EXPECT_TRUE(PlainAnswer(read(noisy, c.extension), "random bytes after the header")) << round;
    }
    // Nothing above may have needed more than a picture of a few megapixels.
    EXPECT_LT(peakMemoryKb() - peakBefore, 256 * 1024);
}

INSTANTIATE_TEST_SUITE_P(EveryExtension, HostileFiles, ::testing::ValuesIn(damageCases()),
                         [](const auto& info) { return std::string(info.param.extension); });

TEST(HostileFiles, CoverEveryRegisteredExtension) {
    std::vector<std::string> registered;
    for (const auto& r : readerRegistrations()) {
        if (std::find(registered.begin(), registered.end(), r.extension) == registered.end())
            registered.push_back(r.extension);
    }
    std::vector<std::string> covered;
    for (const auto& c : damageCases()) covered.push_back(c.extension);
    std::sort(registered.begin(), registered.end());
    std::sort(covered.begin(), covered.end());
    EXPECT_EQ(covered, registered);
    EXPECT_EQ(covered.size(), 39u);
}

// PostScript is a program: a file can loop for ever, eat memory, or stop with an error and a
// dump of Ghostscript's stacks. Each ends within the drawing limits with a message of its own.
class PostScriptFiles : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = pictureLimits();
        PictureLimits limits = saved_;
        limits.drawingSeconds = 2;
        limits.drawingMemory = std::int64_t{256} << 20;
        setPictureLimits(limits);
    }
    void TearDown() override { setPictureLimits(saved_); }

    static Bytes eps(const std::string& program) {
        const std::string text = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 20 20\n" + program + "\n";
        return Bytes(text.begin(), text.end());
    }
    static Answer timed(const Bytes& file, double& seconds) {
        const auto start = std::chrono::steady_clock::now();
        Answer answer = read(file, "eps");
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return answer;
    }

private:
    PictureLimits saved_;
};

TEST_F(PostScriptFiles, EndlessLoopEndsAtTheTimeLimitWithAMessage) {
    double seconds = 0;
    const Answer a = timed(eps("{ } loop"), seconds);
    EXPECT_FALSE(a.picture);
    EXPECT_EQ(a.message,
              "The PostScript picture takes too long to draw (more than 2 seconds); the file may be damaged "
              "or made "
              "to run for ever.");
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(a.terminal, "");
}

TEST_F(PostScriptFiles, EndlessAllocationEndsAtTheMemoryLimitWithAMessage) {
    double seconds = 0;
    const Answer a = timed(eps("/chain null def { /chain [ chain 1000000 string ] def } loop"), seconds);
    EXPECT_FALSE(a.picture);
    EXPECT_EQ(a.message, "The PostScript picture needs more memory than a picture may use (256 MB).");
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(a.terminal, "");
}

TEST_F(PostScriptFiles, ErrorIsNamedWithoutGhostscriptsDump) {
    const Answer a = read(eps("0 0 moveto nosuchoperator"), "eps");
    EXPECT_EQ(
        a.message,
        "The EPS file is damaged: its PostScript stops with the error \"/undefined in nosuchoperator\".");
    EXPECT_EQ(a.terminal, "");
}

TEST_F(PostScriptFiles, BoundingBoxBeyondTheLimitsIsRefusedBeforeDrawing) {
    const Answer a = read(eps("%%BoundingBox: 0 0 40000 40000"), "eps");
    // The first bounding box line counts: 20 x 20 points. A file whose only box is huge:
    Bytes huge = eps("");
    replaceText(huge, "0 0 20 20", "0 0 40000 40000");
    const Answer b = read(huge, "eps");
    EXPECT_TRUE(a.picture) << a.message;
    EXPECT_EQ(b.message, "The picture is too large to open (80000 x 80000 pixels).");
}

// The library that reads Targa, PCX, SGI, portable maps, Photo-CD, Dr. Halo and metafiles is
// held to the picture limits by its own resource limits, also where no header check of ours
// stands before it.
TEST(MagickLimits, PictureClaimingMoreThanTheLimitsIsRefusedBeforeItIsAllocated) {
    const std::string header = "P6\n100000 100000\n255\n";
    Bytes file(header.begin(), header.end());
    file.resize(file.size() + 4096, 0x80);
    MagickRequest request;
    request.magick = "PNM";
    // 100000 x 100000 at 8 bytes a pixel would be 80 GB: under the sanitizers an attempt to
    // allocate it ends the test program.
    try {
        decodeWithMagick(file.data(), file.size(), request);
        ADD_FAILURE() << "accepted";
    } catch (const Failure& failure) {
        EXPECT_EQ(std::string(failure.what()).rfind("The picture is too large to open (", 0), 0u)
            << failure.what();
    }
    // Within the side limit but beyond the pixel count (65535 x 65535 is 4.3 gigapixels).
    const std::string wide = "P6\n65535 65535\n255\n";
    Bytes second(wide.begin(), wide.end());
    second.resize(second.size() + 4096, 0x80);
    EXPECT_TRUE(test::FailsWith([&] { decodeWithMagick(second.data(), second.size(), request); },
                                "The picture is too large to open ("));
}

// The library would otherwise take a file's own first bytes over the format it was asked for,
// and hand PostScript to Ghostscript through its delegate, with no limits at all.
TEST(MagickLimits, PostScriptUnderAnotherExtensionNeverReachesGhostscript) {
    const std::string text = "%!PS\n{ } loop\n";
    const Bytes file(text.begin(), text.end());
    for (const char* extension : {"pcd", "wmf", "tga", "sgi", "ppm", "cut", "pcx"}) {
        const auto start = std::chrono::steady_clock::now();
        const Answer a = read(file, extension);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_FALSE(a.picture) << extension;
        EXPECT_TRUE(PlainAnswer(a, extension));
        EXPECT_LT(seconds, 1.0) << extension;
    }
}

// Inputs the fuzz targets found harmful, kept once fixed: each must give a picture or a
// message (under the sanitizers, an overread ends the test).
TEST(FuzzFindings, EachGivesAPictureOrAMessage) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::fixturePath("formats/findings"))) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string().substr(1);
        const Answer a = read(test::fileBytes(entry.path().string()), extension);
        EXPECT_TRUE(PlainAnswer(a, name));
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace dg
