#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EnhancePictures.h"
#include "app/EnhanceSession.h"
#include "app/EnhanceWalks.h"
#include "support/ImageCompare.h"

namespace dg::test {
namespace {

using Control = EnhanceSession::Control;
using Kind = EnhanceSession::Kind;
using Reduction = EnhanceSession::Reduction;

class EnhanceSessionTest : public ::testing::Test {
protected:
    void SetUp() override { s.open(picture); }

    std::vector<int> values() const {
        std::vector<int> out;
        for (int c = 0; c < EnhanceSession::kControlCount; ++c)
            out.push_back(s.value(static_cast<Control>(c)));
        return out;
    }
    const std::vector<int> allZero = std::vector<int>(EnhanceSession::kControlCount, 0);

    const RgbImage picture = randomImage(6, 5, 11);
    EnhanceSession s;
};

TEST_F(EnhanceSessionTest, OpenStartsNeutralWithEverythingAtZero) {
    EXPECT_TRUE(SameImage(picture, s.working()));
    EXPECT_EQ(values(), allZero);
    EXPECT_EQ(s.reduction(), Reduction::TrueColor);
    EXPECT_EQ(s.activeKind(), Kind::Neutral);
    EXPECT_FALSE(s.undoEnabled());
    EXPECT_FALSE(s.undoAllEnabled());

    // Opening again resets the controls first, each running its change on the old picture,
    // and still ends neutral with UNDO and UNDO ALL disabled.
    s.set(Control::Contrast, 3);
    const RgbImage other = randomImage(3, 4, 5);
    s.open(other);
    EXPECT_TRUE(SameImage(other, s.working()));
    EXPECT_EQ(values(), allZero);
    EXPECT_EQ(s.activeKind(), Kind::Neutral);
    EXPECT_FALSE(s.undoAllEnabled());
}

TEST_F(EnhanceSessionTest, ChangeRunsOnlyWhenTheValueChangesAndSetClamps) {
    // SHARPEN applies one pass even at 0, so a change to 0 would show; setting 0 over 0 does
    // nothing, not even enabling UNDO.
    s.set(Control::Sharpen, 0);
    EXPECT_TRUE(SameImage(picture, s.working()));
    EXPECT_FALSE(s.undoEnabled());
    EXPECT_EQ(s.activeKind(), Kind::Neutral);

    s.set(Control::Contrast, 45);  // clamped to 30
    EXPECT_EQ(s.value(Control::Contrast), 30);
    EXPECT_TRUE(SameImage(contrast(picture, 31), s.working()));
    EXPECT_TRUE(s.undoEnabled());
    EXPECT_TRUE(s.undoAllEnabled());
    s.setTyped(Control::Contrast, 45);  // a typed value is used as typed
    EXPECT_EQ(s.value(Control::Contrast), 45);
    EXPECT_TRUE(SameImage(contrast(picture, 46), s.working()));
    s.set(Control::Contrast, s.value(Control::Contrast));  // the field loses the focus
    EXPECT_EQ(s.value(Control::Contrast), 30);
    EXPECT_TRUE(SameImage(contrast(picture, 31), s.working()));

    for (Control c : {Control::Brightness, Control::Posterize, Control::RedBlue, Control::Blur}) {
        s.open(picture);
        s.set(c, 1000);
        EXPECT_EQ(s.value(c), EnhanceSession::range(c).maximum);
    }
}

TEST_F(EnhanceSessionTest, EachControlRecomputesFromTheBase) {
    struct Case {
        const char* name;
        std::vector<std::pair<Control, int>> moves;
        RgbImage expected;
    };
    const Case cases[] = {
        {"CONTRAST 1", {{Control::Contrast, 1}}, contrast(picture, 2)},
        {"CONTRAST -1", {{Control::Contrast, -1}}, contrast(picture, 2, true)},
        {"CONTRAST 4, then 0", {{Control::Contrast, 4}, {Control::Contrast, 0}}, picture},
        {"SATURATION 5, then 2",
         {{Control::Saturation, 5}, {Control::Saturation, 2}},
         [&] {
             RgbImage out;
             saturationSteps(picture, out, 3);
             return out;
         }()},
        {"SHARPEN 1, then 0",
         {{Control::Sharpen, 1}, {Control::Sharpen, 0}},
         filtered(picture, kSharpenKernel, 1)},
        {"BLUR 2", {{Control::Blur, 2}}, filtered(picture, kBlurKernel, 3)},
        {"BRIGHTNESS 30, then -5",
         {{Control::Brightness, 30}, {Control::Brightness, -5}},
         brighter(picture, -5)},
        // Posterize and colour balance work on the working picture in place: when already
        // active they first go back to the base.
        {"POSTERIZE 100, then 60",
         {{Control::Posterize, 100}, {Control::Posterize, 60}},
         posterized(picture, 60)},
        {"POSTERIZE 1, then 0", {{Control::Posterize, 1}, {Control::Posterize, 0}}, picture},
        {"red-green 3, then -2",
         {{Control::RedGreen, 3}, {Control::RedGreen, -2}},
         balanced(picture, BalanceSide::RedGreen, -2)},
        {"red-blue 4, then 0", {{Control::RedBlue, 4}, {Control::RedBlue, 0}}, picture},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.open(picture);
        for (auto [control, value] : c.moves) s.set(control, value);
        EXPECT_TRUE(SameImage(c.expected, s.working()));
        EXPECT_TRUE(s.undoEnabled());
    }
}

TEST_F(EnhanceSessionTest, ActivationCommitsTheWorkingPictureAndResetsTheOthersNested) {
    s.set(Control::Contrast, 3);
    const RgbImage contrasted = contrast(picture, 4);
    // The first move of BRIGHTNESS resets CONTRAST, whose own change resets BRIGHTNESS: both
    // end at 0 and the move is lost; the contrast result is the new base and undo picture.
    s.set(Control::Brightness, 10);
    EXPECT_EQ(values(), allZero);
    EXPECT_TRUE(SameImage(contrasted, s.working()));
    EXPECT_EQ(s.activeKind(), Kind::Brightness);
    s.set(Control::Brightness, 5);
    EXPECT_TRUE(SameImage(brighter(contrasted, 5), s.working()));
    s.undo();
    EXPECT_TRUE(SameImage(contrasted, s.working()));
    EXPECT_FALSE(s.undoEnabled());

    // A typed first digit of BLUR is lost the same way: BLUR resets CONTRAST, whose change
    // resets BLUR before BLUR reads its value; one pass (BLUR at 0) from the contrast result.
    s.open(picture);
    s.set(Control::Contrast, 30);
    s.setTyped(Control::Blur, 2);
    EXPECT_EQ(values(), allZero);
    EXPECT_TRUE(SameImage(filtered(contrast(picture, 31), kBlurKernel, 1), s.working()));
    EXPECT_EQ(s.activeKind(), Kind::Blur);

    // The colour-balance sliders keep each other's values; only the moved one's correction is
    // in the picture. Another kind resets all three.
    s.open(picture);
    s.set(Control::RedGreen, 2);
    s.set(Control::GreenBlue, -1);
    EXPECT_EQ(s.value(Control::RedGreen), 2);
    EXPECT_EQ(s.value(Control::GreenBlue), -1);
    EXPECT_TRUE(SameImage(balanced(picture, BalanceSide::GreenBlue, -1), s.working()));
    s.set(Control::Saturation, 1);
    EXPECT_EQ(values(), allZero);

    // Neutral and colour reduction leave POSTERIZE where it is.
    for (bool byGrey : {true, false}) {
        SCOPED_TRACE(byGrey ? "GREY 2" : "UP TO 16 COLORS");
        s.open(picture);
        s.set(Control::Posterize, 40);
        const RgbImage posterizedPicture = posterized(picture, 40);
        if (byGrey)
            s.grey(2);
        else
            s.chooseReduction(Reduction::UpTo16Colors);
        EXPECT_EQ(s.value(Control::Posterize), 40);
        EXPECT_TRUE(SameImage(byGrey ? grey(posterizedPicture, 2) : sixteen(posterizedPicture), s.working()));
    }
}

TEST_F(EnhanceSessionTest, BrightnessComputesFromThePictureBeforeTheResets) {
    // BLUR at 2; the first BRIGHTNESS move resets BLUR, whose change at 0 still blurs once
    // more. BRIGHTNESS keeps the picture from before that reset as its own base.
    s.set(Control::Blur, 2);
    const RgbImage blurred = filtered(picture, kBlurKernel, 3);
    s.set(Control::Brightness, 10);
    EXPECT_EQ(values(), allZero);
    EXPECT_TRUE(SameImage(blurred, s.working()));
    s.set(Control::Brightness, 7);
    EXPECT_TRUE(SameImage(brighter(blurred, 7), s.working()));
    s.set(Control::Brightness, -3);
    EXPECT_TRUE(SameImage(brighter(blurred, -3), s.working()));
}

TEST_F(EnhanceSessionTest, ProgramSetsNameTheControlsTheResetsTouched) {
    s.takeProgramSets();
    s.setTyped(Control::Contrast, 3);
    // CONTRAST's activation sets every other control but itself, also those already at 0.
    std::array<bool, EnhanceSession::kControlCount> expected{};
    expected.fill(true);
    expected[static_cast<std::size_t>(Control::Contrast)] = false;
    EXPECT_EQ(s.takeProgramSets(), expected);
    EXPECT_EQ(s.takeProgramSets(), (std::array<bool, EnhanceSession::kControlCount>{}));
}

TEST_F(EnhanceSessionTest, GreyButtonsAndTheirUndoPicture) {
    s.grey(2);
    s.grey(3);
    EXPECT_TRUE(SameImage(grey(grey(picture, 2), 3), s.working()));
    EXPECT_EQ(s.activeKind(), Kind::Neutral);
    s.undo();
    EXPECT_TRUE(SameImage(picture, s.working()));  // a run of GREY 2 to 7 shares one undo picture

    for (int first : {1, 8}) {
        SCOPED_TRACE(first);
        s.open(picture);
        s.grey(first);
        EXPECT_EQ(s.activeKind(), Kind::None);
        s.grey(3);
        s.undo();
        EXPECT_TRUE(SameImage(grey(picture, first), s.working()));  // the picture after GREY 1 or 8
    }

    // After a brightness change, GREY 2's activation resets BRIGHTNESS, whose own change makes
    // brightness active again: GREY 3 activates neutral anew and takes the undo picture after
    // GREY 2.
    s.open(picture);
    s.set(Control::Brightness, 10);
    const RgbImage brightened = brighter(picture, 10);
    s.grey(2);
    EXPECT_EQ(s.value(Control::Brightness), 0);
    EXPECT_EQ(s.activeKind(), Kind::Brightness);
    s.grey(3);
    EXPECT_TRUE(SameImage(grey(grey(brightened, 2), 3), s.working()));
    s.undo();
    EXPECT_TRUE(SameImage(grey(brightened, 2), s.working()));
}

TEST_F(EnhanceSessionTest, OptimizeRounds) {
    // Right after opening: one round, whose nested resets leave one sharpening pass, two blur
    // passes and three contrast passes, every control at 0.
    s.optimize();
    EXPECT_EQ(values(), allZero);
    EXPECT_TRUE(
        SameImage(contrast(filtered(filtered(picture, kSharpenKernel, 1), kBlurKernel, 2), 3), s.working()));
    EXPECT_TRUE(s.undoEnabled());
    s.undo();
    EXPECT_TRUE(SameImage(picture, s.working()));

    // The number of rounds is BLUR + 1, taken once: a BLUR typed below 0 leaves no round, and
    // OPTIMIZE only takes its undo picture.
    s.open(picture);
    s.setTyped(Control::Blur, -3);
    const RgbImage before = s.working();
    s.optimize();
    EXPECT_EQ(s.value(Control::Blur), -3);
    EXPECT_TRUE(SameImage(before, s.working()));

    // From a 16-colour reduction: OPTIMIZE takes its undo picture before it chooses TRUE
    // COLOR, and TRUE COLOR brings back that undo picture: the reduced one stays and is
    // optimized.
    s.open(picture);
    s.chooseReduction(Reduction::UpTo16Colors);
    const RgbImage reduced = sixteen(picture);
    s.optimize();
    EXPECT_EQ(s.reduction(), Reduction::TrueColor);
    EXPECT_TRUE(
        SameImage(contrast(filtered(filtered(reduced, kSharpenKernel, 1), kBlurKernel, 2), 3), s.working()));
    s.undo();
    EXPECT_TRUE(SameImage(reduced, s.working()));
}

TEST_F(EnhanceSessionTest, ColourReductionStartsFromThePictureBeforeIt) {
    s.set(Control::Brightness, 10);
    const RgbImage brightened = brighter(picture, 10);
    // Reduction's activation resets BRIGHTNESS, whose change chooses TRUE COLOR again: the
    // picture stays brightened.
    s.chooseReduction(Reduction::UpTo16Colors);
    EXPECT_EQ(s.reduction(), Reduction::TrueColor);
    EXPECT_EQ(s.value(Control::Brightness), 0);
    EXPECT_TRUE(SameImage(brightened, s.working()));
    s.chooseReduction(Reduction::UpTo16Colors);
    EXPECT_EQ(s.reduction(), Reduction::UpTo16Colors);
    EXPECT_TRUE(SameImage(sixteen(brightened), s.working()));
    s.chooseReduction(Reduction::UpTo256Colors);
    EXPECT_TRUE(SameImage(halftone(brightened), s.working()));
    s.chooseReduction(Reduction::UpTo16Colors);
    EXPECT_TRUE(SameImage(sixteen(brightened), s.working()));
    s.chooseReduction(Reduction::TrueColor);
    EXPECT_TRUE(SameImage(brightened, s.working()));
    EXPECT_EQ(s.activeKind(), Kind::Reduction);
    s.undo();
    EXPECT_TRUE(SameImage(brightened, s.working()));

    // Choosing the option already chosen does nothing.
    s.open(picture);
    s.chooseReduction(Reduction::TrueColor);
    EXPECT_EQ(s.activeKind(), Kind::Neutral);
    EXPECT_FALSE(s.undoEnabled());
}

TEST_F(EnhanceSessionTest, UndoOnceAndUndoAll) {
    s.set(Control::Blur, 2);
    s.set(Control::Sharpen, 1);
    s.undo();
    EXPECT_TRUE(SameImage(filtered(picture, kBlurKernel, 3), s.working()));
    EXPECT_FALSE(s.undoEnabled());
    EXPECT_TRUE(s.undoAllEnabled());

    s.set(Control::Posterize, 40);
    s.chooseReduction(Reduction::UpTo16Colors);
    s.optimize();
    s.set(Control::RedBlue, -7);
    s.undoAll([&] { s.open(picture); });
    EXPECT_TRUE(SameImage(picture, s.working()));
    EXPECT_EQ(values(), allZero);
    EXPECT_EQ(s.reduction(), Reduction::TrueColor);
    EXPECT_FALSE(s.undoEnabled());
    EXPECT_FALSE(s.undoAllEnabled());
    EXPECT_EQ(s.activeKind(), Kind::None);
    // The next grey button takes a new undo picture: the opened one.
    s.grey(6);
    s.undo();
    EXPECT_TRUE(SameImage(picture, s.working()));
}

TEST_F(EnhanceSessionTest, ClosingEmptiesThePicturesAndAReopenStartsAfresh) {
    s.set(Control::Brightness, 12);
    s.closeKeepingWorking();
    EXPECT_TRUE(SameImage(brighter(picture, 12), s.working()));
    EXPECT_FALSE(s.undoEnabled());
    s.working().clear();
    s.resetControls();
    s.open(picture);
    s.grey(7);
    s.undo();
    EXPECT_TRUE(SameImage(picture, s.working()));

    s.set(Control::Saturation, 9);
    s.discard();
    EXPECT_TRUE(s.working().empty());
    EXPECT_EQ(values(), allZero);
}

// The recorded walks (EnhanceWalks.h) on the session, with the steps the screen takes around
// it when it opens and closes.
class SessionFrontEnd : public walks::FrontEnd {
public:
    void open(const RgbImage& picture, bool tribal) override {
        picture_ = picture;
        if (tribal) {
            s.chooseReduction(Reduction::TrueColor);
            s.open(picture);
        } else {
            s.open(picture);
            s.working() = picture;
        }
    }

    void take(const walks::Step& step, bool tribal) override {
        using K = walks::Step::Kind;
        switch (step.kind) {
            case K::Set:
                s.set(control(step.control), step.value);
                break;
            case K::Type: {
                const Control c = control(step.control);
                walks::TypedField field(step.control);
                // The screen's field shows the session's value anew when the change set the
                // field or left another value in it; the next key goes after that text.
                auto typed = [&] {
                    s.takeProgramSets();
                    s.setTyped(c, field.value());
                    if (s.takeProgramSets()[static_cast<std::size_t>(c)] || s.value(c) != field.value())
                        field.show(s.value(c));
                };
                field.clear();
                typed();
                for (char key : std::to_string(step.value))
                    if (field.key(key)) typed();
                break;
            }
            case K::Leave:
                s.set(control(step.control), s.value(control(step.control)));
                break;
            case K::Grey:
                s.grey(step.control);
                break;
            case K::Optimize:
                s.optimize();
                break;
            case K::Undo:
                if (s.undoEnabled()) s.undo();
                break;
            case K::UndoAll:
                if (s.undoAllEnabled()) s.undoAll([&] { s.open(picture_); });
                break;
            case K::Reduce:
                s.chooseReduction(static_cast<Reduction>(step.control));
                break;
            case K::OkAndReopen:
                s.closeKeepingWorking();
                if (tribal) {
                    s.resetControls();
                } else {
                    s.working().clear();
                    s.resetControls();
                    s.chooseReduction(Reduction::TrueColor);
                }
                open(picture_, tribal);
                break;
            case K::CancelAndReopen:
                s.discard();
                s.chooseReduction(Reduction::TrueColor);
                open(picture_, tribal);
                break;
        }
    }

    walks::State state() override {
        walks::State out;
        out.working = s.working();
        for (int c = 0; c < walks::kControls; ++c)
            out.values[static_cast<std::size_t>(c)] = s.value(control(c));
        out.reduction = static_cast<int>(s.reduction());
        out.undo = s.undoEnabled();
        out.undoAll = s.undoAllEnabled();
        static const char* const kinds[] = {"none",       "neutral",         "brightness", "contrast",
                                            "saturation", "sharpen",         "blur",       "colour balance",
                                            "posterize",  "colour reduction"};
        out.activeKind = kinds[static_cast<int>(s.activeKind())];
        return out;
    }

private:
    // The walks number the controls in the order Open resets them.
    static Control control(int c) {
        static constexpr Control kOpenOrder[] = {Control::Contrast, Control::Saturation, Control::Blur,
                                                 Control::Sharpen,  Control::Posterize,  Control::Brightness,
                                                 Control::RedGreen, Control::GreenBlue,  Control::RedBlue};
        return kOpenOrder[c];
    }

    EnhanceSession s;
    RgbImage picture_;
};

TEST(EnhanceSessionWalks, EveryRecordedStepLeavesWhatTheScreenLeft) {
    SessionFrontEnd session;
    walks::runWalks(session);
}

}  // namespace
}  // namespace dg::test
