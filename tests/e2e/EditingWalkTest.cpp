#include <QApplication>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "WalkSupport.h"
#include "batch/BatchWalk.h"
#include "formats/Bmp.h"
#include "formats/PictureReaders.h"
#include "imaging/Effects.h"
#include "imaging/Enhance.h"
#include "imaging/Scaling.h"
#include "imaging/Tribal.h"
#include "platform/FileSystem.h"
#include "project/ProjectFolder.h"
#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/MergeScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PictureBox.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/ShellFixture.h"
#include "screens/TribalScreen.h"
#include "separation/ChangeColors.h"
#include "separation/ChannelSetBuild.h"
#include "separation/Merge.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"

namespace dg::test {
namespace {

namespace fs = std::filesystem;

// The merge decisions the walk took on the real merge screen, replayed offer by offer.
class ReplayedMerge : public MergeDialog {
public:
    explicit ReplayedMerge(std::vector<MergeDecision> decisions) : decisions_(std::move(decisions)) {}
    void message(const std::string& text) override { ADD_FAILURE() << "merge message " << text; }
    MergeDecision offer(const MergeOffer& offer) override {
        offered.push_back(offer.channel);
        if (next_ < decisions_.size()) return decisions_[next_++];
        ADD_FAILURE() << "the core offered channel " << offer.channel << " beyond the walk";
        return {MergeAnswer::Close, 0, ReplaceMode::Color1};
    }
    std::vector<int> offered;

private:
    std::vector<MergeDecision> decisions_;
    std::size_t next_ = 0;
};

class EditingWalk : public ShellFixture {
protected:
    void SetUp() override {
        smallPrinter(fakes.printer);
        ShellFixture::SetUp();
    }

    // SELECT TASK, the photo, 8.50 at 100 DPI, NEXT into the task's next screen.
    void openPhoto(const char* task) { openAtEightFifty(task, kWalkPhoto); }

    // The photo scaled to the output size the walk chose, by the core.
    RgbImage scaledPhoto() {
        RgbImage result, scaled;
        std::int32_t filter = screens->state.resampleFilter;
        scaleInto(readPicture(kWalkPhoto), outputPixelSize(screens->state), result, scaled, filter);
        return scaled;
    }

    static void moveTo(QWidget* box, int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), box->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }
};

TEST_F(EditingWalk, ColourTaskEnhancedMergedAndRecolouredSavesWhatTheCoreGives) {
    constexpr int kPosterizeLevel = 32;
    openPhoto("TattooIn23Colors");
    QWidget* separation = screens->separation.get();
    ASSERT_TRUE(separation->isVisible());

    // ENHANCE SOURCE: GREY 8, POSTERIZE, OK.
    click(button(separation, "enhanceSource"));
    Tenhance* enhance = screens->enhance.get();
    ASSERT_TRUE(enhance->isVisible());
    click(button(enhance, "grey8"));
    enhance->TrackBar1->setValue(kPosterizeLevel);
    click(button(enhance, "ok"));
    ASSERT_FALSE(enhance->isVisible());
    ASSERT_TRUE(separation->isVisible());
    click(button(separation, "next"));

    // MERGE CHANNELS: the first offer into its nearest colour with COLOR 1, the second with
    // COLOR 2, then FINISH.
    TForm019* channels = screens->channels.get();
    ASSERT_TRUE(channels->isVisible());
    TForm020* merge = screens->merge.get();
    std::vector<MergeDecision> decisions;
    std::vector<int> offered;
    QObject::connect(
        merge, &TForm020::offerShown, merge,
        [&](int channel) {
            offered.push_back(channel);
            if (decisions.size() >= 2) {
                decisions.push_back({MergeAnswer::Finish, 0, ReplaceMode::Color1});
                click(button(merge, "finish"));
                return;
            }
            click(button(merge, "automaticFind"));
            const ReplaceMode mode = decisions.empty() ? ReplaceMode::Color1 : ReplaceMode::Color2;
            if (mode == ReplaceMode::Color2) click(button(merge, "replaceColor2"));
            decisions.push_back({MergeAnswer::Ok, merge->tickedChoice(), mode});
            EXPECT_NE(decisions.back().choice, 0);
            click(button(merge, "ok"));
        },
        Qt::QueuedConnection);
    click(button(channels, "mergeChannels"));
    EXPECT_TRUE(fakes.dialogs.messages.empty());

    // The core for the same steps: scaled, GREY 8, posterized by the effects engine, separated
    // as on entry, channels built, the same merge decisions.
    const RgbImage scaled = scaledPhoto();
    ASSERT_TRUE(SameImage(scaled, screens->pictures.source));
    RgbImage enhanced;
    toGrey(scaled, enhanced, 8);
    {
        Bitmap32 bitmap = toBitmap32(enhanced);
        TEffects effects;
        ASSERT_TRUE(effects.Posterize(bitmap, kPosterizeLevel));
        enhanced = toRgbImage(bitmap);
    }
    ChannelSet expected;
    expected.before = separate(enhanced, clampThresholds(thresholdsOnEnter(SeparationThresholds{}))).result;
    // Four greys, so that two merges leave two colours.
    ASSERT_EQ(rebuildChannelSet(expected).afterCount, 4);
    ReplayedMerge replay(decisions);
    mergeChannels(expected, replay);
    EXPECT_EQ(replay.offered, offered);
    ASSERT_GE(decisions.size(), 2u) << "two merges offered";
    ASSERT_TRUE(SameImage(expected.after, screens->workflow.channels.after)) << "the merged design";

    // CHANGE COLORS: a double click where the design and SOURCE differ, then OK.
    click(button(channels, "changeColors"));
    TForm022* change = screens->changeColors.get();
    ASSERT_TRUE(change->isVisible());
    int px = -1, py = -1;
    for (int y = 0; y < 100 && px < 0; ++y)
        for (int x = 0; x < 100 && px < 0; ++x)
            if (expected.after.pixel(x, y) != scaled.pixel(x, y)) px = x, py = y;
    ASSERT_GE(px, 0);
    QWidget* picture = change->findChild<PictureBox*>("Image1");
    moveTo(picture, px, py);
    QTest::mouseDClick(picture, Qt::LeftButton, {}, QPoint(px, py));
    click(button(change, "ok"));
    ASSERT_TRUE(channels->isVisible());

    RgbImage working = expected.after;
    EXPECT_GT(changeColors(working, scaled, px, py), 0);
    expected.before = working;
    rebuildChannelSet(expected);

    // SAVE PROJECT AS...: the wizard's folder against the core's save of the same content.
    fakes.dialogs.saveAnswers.push_back(folder.file("wizard"));
    click(button(channels, "saveProjectAs"));
    fake::FakeDialogs dialogs;
    dialogs.saveAnswers.push_back(folder.file("core"));
    LocalFileSystem files;
    ASSERT_TRUE(saveProject(channelsScreenProject(scaled, expected), screens->state, dialogs, files));
    const std::string wizard = projectFolderIn(folder.path(), "wizard");
    ASSERT_FALSE(wizard.empty());
    expectSameFolder(wizard, projectFolderIn(folder.path(), "core"));
    // The edits reached the saved design: it is grey and merged, not the photo's separation.
    const RgbImage saved = decodeBmp24(bytesOf(fs::path(wizard) / kResultFileName));
    EXPECT_TRUE(SameImage(saved, expected.before));
    EXPECT_FALSE(SameImage(saved, separate(scaled, clampThresholds(thresholdsOnEnter({}))).result));
}

TEST_F(EditingWalk, TribalTaskEnhancedGoesToPaperAsTheBatchDoesWithTheEnhancedSource) {
    openPhoto("CreateTribalTattoo");
    QWidget* tribal = screens->tribal.get();
    ASSERT_TRUE(tribal->isVisible());
    auto* method8 = child<QRadioButton>(tribal, "RadioButton8");
    ASSERT_TRUE(method8->isChecked()) << "the entry checks Method 8";
    auto* method1 = child<QRadioButton>(tribal, "RadioButton1");
    QTest::mouseClick(method1, Qt::LeftButton, {}, QPoint(6, method1->height() / 2));
    ASSERT_TRUE(method1->isChecked());
    auto* slider1 = child<QSlider>(tribal, "TrackBar1");
    for (int k = 0; k < 3; ++k) slider1->setValue(slider1->value() + 1);

    click(button(tribal, "enhance"));
    Tenhance* enhance = screens->enhance.get();
    ASSERT_TRUE(enhance->isVisible());
    click(button(enhance, "grey1"));
    click(button(enhance, "ok"));
    ASSERT_TRUE(tribal->isVisible());
    std::array<int, 3> sliders{};
    for (int k = 0; k < 3; ++k)
        sliders[static_cast<std::size_t>(k)] =
            child<QSlider>(tribal, ("TrackBar" + std::to_string(k + 1)).c_str())->value();

    // The enhanced SOURCE by the core: the photo scaled, GREY 1.
    const RgbImage scaled = scaledPhoto();
    RgbImage enhanced;
    toGrey(scaled, enhanced, 1);
    ASSERT_TRUE(SameImage(enhanced, screens->pictures.source));

    click(button(tribal, "next"));
    QWidget* channels = screens->channels.get();
    ASSERT_TRUE(channels->isVisible());
    click(button(channels, "next"));
    click(button(screens->colorMatching.get(), "next"));
    click(button(screens->options.get(), "next"));
    QWidget* printing = screens->printing.get();
    ASSERT_TRUE(printing->isVisible());
    click(button(printing, "asJpeg"));
    fakes.dialogs.saveAnswers.push_back(folder.file("wizard jpeg"));
    click(button(printing, "saveChecked"));
    click(button(printing, "asBmp"));
    fakes.dialogs.saveAnswers.push_back(folder.file("wizard bmp"));
    click(button(printing, "saveChecked"));
    fakes.dialogs.saveAnswers.push_back(folder.file("wizard"));
    click(button(printing, "saveProject"));
    click(button(printing, "printChecked"));

    // The batch has no enhance step: it is given the enhanced SOURCE as a bitmap at the same
    // output size, which it copies unchanged, with the sliders where the walk left them.
    const PixelSize size = outputPixelSize(screens->state);
    ASSERT_EQ(size.width, enhanced.width());
    ASSERT_EQ(size.height, enhanced.height());
    {
        RgbImage result, copy;
        std::int32_t filter = 0;
        scaleInto(enhanced, size, result, copy, filter);
        ASSERT_TRUE(SameImage(copy, enhanced)) << "the same size must copy the picture unchanged";
    }
    const std::string enhancedFile = folder.file("enhanced.bmp");
    {
        const std::vector<std::uint8_t> bytes = encodeBmp(enhanced);
        std::ofstream(enhancedFile, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const auto sizeArg = [](int whole, int hundredths) {
        return std::to_string(whole) + "." + (hundredths < 10 ? "0" : "") + std::to_string(hundredths);
    };
    const WorkflowState& state = screens->state;
    for (const bool bmp : {false, true}) {
        std::vector<std::string> args{enhancedFile,
                                      "--task",
                                      "tribal",
                                      "--dpi",
                                      std::to_string(state.outputDpi),
                                      "--width",
                                      sizeArg(state.outputWidthWhole, state.outputWidthHundredths),
                                      "--height",
                                      sizeArg(state.outputHeightWhole, state.outputHeightHundredths),
                                      "--no-aspect",
                                      "--method",
                                      "1",
                                      "--slider1",
                                      std::to_string(sliders[0]),
                                      "--slider2",
                                      std::to_string(sliders[1]),
                                      "--slider3",
                                      std::to_string(sliders[2]),
                                      "--export",
                                      folder.file(bmp ? "batch bmp" : "batch jpeg"),
                                      "--as",
                                      bmp ? "bmp" : "jpeg"};
        if (!bmp) args.insert(args.end(), {"--save", folder.file("batch"), "--print"});
        fake::FakePrinter printer;
        smallPrinter(printer);
        LocalFileSystem files;
        std::ostringstream messages;
        ASSERT_EQ(runBatch(parseBatchOptions(args), printer, files, messages, [](const std::string&) {}), 0)
            << messages.str();
        if (bmp) continue;
        ASSERT_EQ(fakes.printer.jobs.size(), printer.jobs.size());
        for (std::size_t k = 0; k < printer.jobs.size(); ++k) {
            SCOPED_TRACE(printer.jobs[k].name);
            EXPECT_EQ(fakes.printer.jobs[k].name, printer.jobs[k].name);
            EXPECT_TRUE(SameImage(fakes.printer.jobs[k].page, printer.jobs[k].page));
        }
    }
    expectSameFolder(folder.file("wizard jpeg Pages"), folder.file("batch jpeg Pages"));
    expectSameFolder(folder.file("wizard bmp Pages"), folder.file("batch bmp Pages"));
    // The project's _Source.bmp is the picture the user opened, which the batch never saw.
    const std::string wizard = projectFolderIn(folder.path(), "wizard");
    ASSERT_FALSE(wizard.empty());
    expectSameFolder(wizard, projectFolderIn(folder.path(), "batch"), {"_Source.bmp"});
    EXPECT_TRUE(SameImage(decodeBmp24(bytesOf(fs::path(wizard) / "_Source.bmp")), readPicture(kWalkPhoto)));
    // The design really is the enhanced one: the tribal design of the unenhanced SOURCE differs.
    RgbImage plain, fromEnhanced;
    makeTribal(scaled, 1, TribalSliders{sliders[0], sliders[1], sliders[2]}, plain);
    makeTribal(enhanced, 1, TribalSliders{sliders[0], sliders[1], sliders[2]}, fromEnhanced);
    EXPECT_TRUE(SameImage(decodeBmp24(bytesOf(fs::path(wizard) / kResultFileName)), fromEnhanced));
    EXPECT_FALSE(SameImage(plain, fromEnhanced));
}

}  // namespace
}  // namespace dg::test
