#pragma once

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "imaging/Canvas.h"
#include "platform/FileSystem.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/InfoWindows.h"
#include "screens/OptionsScreen.h"
#include "screens/PrintingScreen.h"
#include "screens/Viewers.h"
#include "separation/ChannelSetBuild.h"

namespace dg::test {

// The real disk whose writes after the first `writesLeft` go to /dev/full: the disk fills up
// in the middle of a save.
class FillingDisk : public fake::FakeFileSystem {
public:
    int writesLeft = 1;
    void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        LocalFileSystem::writeFile(writesLeft-- > 0 ? path : std::string("/dev/full"), bytes);
    }
    void writeFilePieces(const std::string& path,
                         const std::vector<std::span<const std::uint8_t>>& pieces) override {
        LocalFileSystem::writeFilePieces(writesLeft-- > 0 ? path : std::string("/dev/full"), pieces);
    }
};

// A design of nine flat colours in a row of blocks on a white ground that touches the edges,
// brought to the channels screen as its NEXT leaves it: the later screens are entered from
// there without the earlier ones.
class OutputScreens : public ShellFixture {
protected:
    static constexpr ColorValue kBlocks[] = {
        makeColor(200, 100, 50), makeColor(10, 200, 30), makeColor(128, 128, 128),
        makeColor(255, 0, 0),    makeColor(0, 0, 0),     makeColor(2, 1, 0),
        makeColor(30, 60, 200),  makeColor(250, 250, 0), makeColor(90, 0, 90)};

    void SetUp() override {
        ShellFixture::SetUp();
        prepare(design());
    }

    static RgbImage design() {
        RgbImage picture(48, 30);
        Canvas canvas(picture);
        for (int i = 0; i < 9; ++i) canvas.fillRect(4 + 4 * i, 10, 4, 10, kBlocks[i]);
        return picture;
    }

    void prepare(const RgbImage& picture) {
        setSmallColourOutput();
        screens->pictures.intake = picture;
        screens->pictures.source = picture;
        ChannelSet& set = channels();
        set.before = picture;
        rebuildChannelSet(set);
    }

    ChannelSet& channels() { return screens->workflow.channels; }

    // Unticks every present channel but these, as the channels screen's check boxes would.
    void tickOnly(std::initializer_list<int> kept) {
        const std::set<int> keep(kept);
        for (int n = 1; n <= kChannelCount; ++n)
            if (channels().colorOf(n) != kNoColor && !keep.contains(n))
                setChannelChecked(channels(), n, false);
    }

    int presentChannels() {
        int count = 0;
        for (int n = 1; n <= kChannelCount; ++n) count += channels().colorOf(n) != kNoColor ? 1 : 0;
        return count;
    }

    TForm023* matching() { return screens->colorMatching.get(); }
    TForm028* options() { return screens->options.get(); }
    TForm029* printing() { return screens->printing.get(); }

    void toOptions() {
        matching()->enter();
        click(button(matching(), "next"));
        ASSERT_TRUE(options()->isVisible());
    }
    // The program started again on a disk that fills up (`disk`), with the design on the
    // printing screen and channels 1 and 3 ticked.
    void toPrintingOnAFillingDisk() {
        fakes.dialogs.files = &disk;
        diskPlatform = std::make_unique<Platform>(
            Platform{fakes.printer, fakes.clipboard, fakes.dialogs, disk, fakes.shell});
        screens = std::make_unique<ScreenSet>(*diskPlatform, [this] { ++ended; });
        prepare(design());
        tickOnly({1, 3});
        toPrinting();
    }
    FillingDisk disk;
    std::unique_ptr<Platform> diskPlatform;

    void toPrinting() {
        toOptions();
        click(button(options(), "next"));
        ASSERT_TRUE(printing()->isVisible());
    }

    // A click on the indicator of a check box or radio button.
    void tick(QWidget* window, const char* name) {
        QAbstractButton* b = button(window, name);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }

    QCheckBox* box(QWidget* window, const std::string& name) {
        return child<QCheckBox>(window, name.c_str());
    }
    QCheckBox* entry(const std::string& name) { return box(printing(), name); }
    QCheckBox* channelEntry(int n) { return entry("channelEntry" + std::to_string(n)); }

    // The system's own text for a write to a full disk.
    static std::string fullDiskText() {
        try {
            LocalFileSystem().writeFile("/dev/full", std::vector<std::uint8_t>(16, 0));
        } catch (const std::exception& e) {
            return e.what();
        }
        return "a full disk that took the bytes";
    }
};

}  // namespace dg::test
