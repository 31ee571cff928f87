#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <functional>
#include <memory>

#include "ShellFixture.h"
#include "app/EnhancePictures.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/SeparationScreen.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

class EnhanceScreen : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        e = screens->enhance.get();
    }

    // What the separation screen's ENHANCE SOURCE does.
    void openFromSeparation(const RgbImage& picture) { openEnhance(picture, false); }
    void openFromTribal(const RgbImage& picture) { openEnhance(picture, true); }
    void press(const char* name) { click(button(e, name)); }
    bool enabled(const char* name) { return button(e, name)->isEnabled(); }

    // Every control's value, in the Open order.
    std::vector<int> values() const {
        return {e->SpinEdit2->value(), e->SpinEdit3->value(), e->SpinEdit4->value(),
                e->SpinEdit5->value(), e->TrackBar1->value(), e->TrackBar2->value(),
                e->TrackBar3->value(), e->TrackBar4->value(), e->TrackBar5->value()};
    }
    const std::vector<int> allZero = std::vector<int>(9, 0);

    QLineEdit* typing(EnhanceSpinEdit* field) { return field->editor(); }
    void type(EnhanceSpinEdit* field, const QString& text) {
        QLineEdit* edit = typing(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    static void loseFocus(EnhanceSpinEdit* field) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field->editor(), &out);
    }

    const RgbImage picture = randomImage(23, 19, 7);
    Tenhance* e = nullptr;
};

TEST_F(EnhanceScreen, ControlsCaptionsAndRanges) {
    openFromSeparation(picture);
    EXPECT_EQ(e->windowTitle(), "enhance");
    struct Field {
        const char* caption;
        const char* label;
        int minimum, maximum, value;
    };
    const std::pair<QSlider*, Field> sliders[] = {
        {e->TrackBar2, {"BRIGHTNESS", "brightnessCaption", -100, 100, 0}},
        {e->TrackBar1, {"POSTERIZE", "posterizeCaption", 0, 255, 0}},
        {e->TrackBar3, {nullptr, nullptr, -15, 15, 0}},
        {e->TrackBar4, {nullptr, nullptr, -15, 15, 0}},
        {e->TrackBar5, {nullptr, nullptr, -15, 15, 0}},
    };
    for (const auto& [s, f] : sliders) {
        SCOPED_TRACE(s->objectName().toStdString());
        EXPECT_EQ(s->minimum(), f.minimum);
        EXPECT_EQ(s->maximum(), f.maximum);
        EXPECT_EQ(s->value(), f.value);
        if (f.label) {
            EXPECT_EQ(text(e, f.label), f.caption);
        }
    }
    const std::pair<EnhanceSpinEdit*, Field> fields[] = {
        {e->SpinEdit2, {"CONTRAST", "SpinEdit2Caption", -30, 30, 0}},
        {e->SpinEdit3, {"SATURATION", "SpinEdit3Caption", 0, 50, 0}},
        {e->SpinEdit5, {"SHARPEN", "SpinEdit5Caption", 0, 30, 0}},
        {e->SpinEdit4, {"BLUR", "SpinEdit4Caption", 0, 20, 0}},
    };
    for (const auto& [s, f] : fields) {
        SCOPED_TRACE(f.caption);
        EXPECT_EQ(s->minimum(), f.minimum);
        EXPECT_EQ(s->maximum(), f.maximum);
        EXPECT_EQ(s->value(), 0);
        EXPECT_EQ(text(e, f.label), f.caption);
    }
    // The colour-balance triangle: R on top, G bottom left, B bottom right; the left side is
    // red-green, the bottom green-blue, the right red-blue.
    QLabel* r = child<QLabel>(e, "cornerR");
    QLabel* g = child<QLabel>(e, "cornerG");
    QLabel* b = child<QLabel>(e, "cornerB");
    EXPECT_EQ(r->text(), "R");
    EXPECT_LT(r->y(), g->y());
    EXPECT_LT(g->x(), b->x());
    EXPECT_LT(e->TrackBar3->x(), e->TrackBar5->x());
    EXPECT_GT(e->TrackBar4->y(), e->TrackBar3->y());
    EXPECT_EQ(child<QGroupBox>(e, "colorBalance")->title(), "COLOR BALANCE");
    EXPECT_EQ(child<QGroupBox>(e, "colorReduction")->title(), "COLOR REDUCTION");
    EXPECT_EQ(child<QGroupBox>(e, "transformInGrey")->title(), "TRANSFORM IN GREY");
    EXPECT_EQ(e->RadioButton1->text(), "TRUE COLOR");
    EXPECT_EQ(e->RadioButton2->text(), "UP TO 256 COLORS");
    EXPECT_EQ(e->RadioButton3->text(), "UP TO 16 COLORS");
    EXPECT_TRUE(e->RadioButton1->isChecked());
    for (int kind = 1; kind <= 8; ++kind)
        EXPECT_EQ(button(e, QString("grey%1").arg(kind).toUtf8().constData())->text(),
                  QString("GREY %1").arg(kind));
    const std::pair<const char*, const char*> buttons[] = {{"optimize", "OPTIMIZE"}, {"help", "HELP"},
                                                           {"undoAll", "UNDO ALL"},  {"undo", "UNDO"},
                                                           {"cancel", "CANCEL"},     {"ok", "OK"}};
    for (const auto& [name, caption] : buttons) EXPECT_EQ(button(e, name)->text(), caption);
    EXPECT_FALSE(enabled("undo"));
    EXPECT_FALSE(enabled("undoAll"));
    EXPECT_EQ(e->activeKind(), Tenhance::Kind::Neutral);
    EXPECT_TRUE(SameImage(picture, e->working));
    EXPECT_TRUE(SameImage(picture, screens->pictures.source));  // SOURCE := the SOURCE copy
}

TEST_F(EnhanceScreen, EachControlRecomputesFromTheBase) {
    struct Case {
        const char* name;
        std::function<void(Tenhance*)> moves;
        std::function<RgbImage(const RgbImage&)> expected;
    };
    const Case cases[] = {
        {"CONTRAST 1", [](Tenhance* t) { t->SpinEdit2->setValue(1); },
         [](const RgbImage& p) { return contrast(p, 2); }},
        {"CONTRAST -1", [](Tenhance* t) { t->SpinEdit2->setValue(-1); },
         [](const RgbImage& p) { return contrast(p, 2, true); }},
        {"CONTRAST 4, then 0",
         [](Tenhance* t) {
             t->SpinEdit2->setValue(4);
             t->SpinEdit2->setValue(0);
         },
         [](const RgbImage& p) { return p; }},
        {"SATURATION 2",
         [](Tenhance* t) {
             t->SpinEdit3->setValue(5);
             t->SpinEdit3->setValue(2);
         },
         [](const RgbImage& p) {
             RgbImage out;
             saturationSteps(p, out, 3);
             return out;
         }},
        {"SHARPEN 1, then 0",
         [](Tenhance* t) {
             t->SpinEdit5->setValue(1);
             t->SpinEdit5->setValue(0);
         },
         [](const RgbImage& p) { return filtered(p, kSharpenKernel, 1); }},
        {"BLUR 2", [](Tenhance* t) { t->SpinEdit4->setValue(2); },
         [](const RgbImage& p) { return filtered(p, kBlurKernel, 3); }},
        {"BLUR 1, then 0",
         [](Tenhance* t) {
             t->SpinEdit4->setValue(1);
             t->SpinEdit4->setValue(0);
         },
         [](const RgbImage& p) { return filtered(p, kBlurKernel, 1); }},
        {"POSTERIZE 1", [](Tenhance* t) { t->TrackBar1->setValue(1); }, [](const RgbImage& p) { return p; }},
        {"POSTERIZE 100, then 60",
         [](Tenhance* t) {
             t->TrackBar1->setValue(100);
             t->TrackBar1->setValue(60);
         },
         [](const RgbImage& p) {
             Bitmap32 bitmap = toBitmap32(p);
             TEffects().Posterize(bitmap, 60);
             return toRgbImage(bitmap);
         }},
        {"BRIGHTNESS 30, then -5",
         [](Tenhance* t) {
             t->TrackBar2->setValue(30);
             t->TrackBar2->setValue(-5);
         },
         [](const RgbImage& p) { return brighter(p, -5); }},
        {"red-green 3, then -2",
         [](Tenhance* t) {
             t->TrackBar3->setValue(3);
             t->TrackBar3->setValue(-2);
         },
         [](const RgbImage& p) {
             RgbImage out;
             balanceSteps(p, out, BalanceSide::RedGreen, false, 3);
             return out;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openFromSeparation(picture);
        c.moves(e);
        EXPECT_TRUE(SameImage(c.expected(picture), e->working));
        EXPECT_TRUE(enabled("undo"));
        EXPECT_TRUE(enabled("undoAll"));
    }
    // Posterize at 0 after 1 is level 1 again: the picture as it was.
    openFromSeparation(picture);
    e->TrackBar1->setValue(1);
    e->TrackBar1->setValue(0);
    EXPECT_TRUE(SameImage(picture, e->working));
}

TEST_F(EnhanceScreen, TheFirstMoveOfAnotherControlResetsBothAndIsLost) {
    openFromSeparation(picture);
    e->SpinEdit2->setValue(3);
    const RgbImage contrasted = contrast(picture, 4);
    ASSERT_TRUE(SameImage(contrasted, e->working));

    e->TrackBar2->setValue(10);
    EXPECT_EQ(e->TrackBar2->value(), 0);
    EXPECT_EQ(e->SpinEdit2->value(), 0);
    EXPECT_TRUE(SameImage(contrasted, e->working));
    EXPECT_EQ(e->activeKind(), Tenhance::Kind::Brightness);

    e->TrackBar2->setValue(5);
    EXPECT_EQ(e->TrackBar2->value(), 5);
    EXPECT_TRUE(SameImage(brighter(contrasted, 5), e->working));

    // UNDO goes back to the contrast result, the picture before brightness became active.
    press("undo");
    EXPECT_TRUE(SameImage(contrasted, e->working));
    EXPECT_EQ(values(), allZero);
}

TEST_F(EnhanceScreen, ColourBalanceSlidersKeepEachOthersValues) {
    openFromSeparation(picture);
    e->TrackBar3->setValue(2);
    e->TrackBar4->setValue(-1);
    EXPECT_EQ(e->TrackBar3->value(), 2);
    EXPECT_EQ(e->TrackBar4->value(), -1);
    RgbImage expected;
    balanceSteps(picture, expected, BalanceSide::GreenBlue, false, 2);
    EXPECT_TRUE(SameImage(expected, e->working));
    // Another kind resets all three.
    e->SpinEdit3->setValue(1);
    EXPECT_EQ(e->TrackBar3->value(), 0);
    EXPECT_EQ(e->TrackBar4->value(), 0);
}

TEST_F(EnhanceScreen, OptimizeRightAfterOpening) {
    openFromSeparation(picture);
    press("optimize");
    EXPECT_EQ(values(), allZero);
    EXPECT_TRUE(
        SameImage(contrast(filtered(filtered(picture, kSharpenKernel, 1), kBlurKernel, 2), 3), e->working));
    EXPECT_EQ(fakes.dialogs.busyShown, 1);
    EXPECT_EQ(fakes.dialogs.busyDepth, 0);
    press("undo");
    EXPECT_TRUE(SameImage(picture, e->working));
    EXPECT_FALSE(enabled("undo"));
}

TEST_F(EnhanceScreen, ColourReductionStartsFromThePictureBeforeIt) {
    openFromSeparation(picture);
    e->TrackBar2->setValue(10);
    const RgbImage brightened = brighter(picture, 10);
    click(e->RadioButton3);
    // The nested reset of BRIGHTNESS chose TRUE COLOR again, so the picture stays brightened.
    EXPECT_TRUE(e->RadioButton1->isChecked());
    EXPECT_EQ(e->TrackBar2->value(), 0);
    EXPECT_TRUE(SameImage(brightened, e->working));
    click(e->RadioButton3);
    EXPECT_TRUE(e->RadioButton3->isChecked());
    EXPECT_TRUE(SameImage(sixteen(brightened), e->working));

    openFromSeparation(picture);
    click(e->RadioButton2);
    RgbImage halftone;
    reduceToHalftone(picture, halftone);
    EXPECT_TRUE(SameImage(halftone, e->working));
    click(e->RadioButton3);
    EXPECT_TRUE(SameImage(sixteen(picture), e->working));
    click(e->RadioButton1);
    EXPECT_TRUE(SameImage(picture, e->working));
    EXPECT_EQ(e->activeKind(), Tenhance::Kind::Reduction);
}

TEST_F(EnhanceScreen, GreyButtonsAndTheirUndoPicture) {
    openFromSeparation(picture);
    press("grey2");
    press("grey3");
    EXPECT_TRUE(SameImage(grey(grey(picture, 2), 3), e->working));
    press("undo");
    EXPECT_TRUE(SameImage(picture, e->working));  // the picture before GREY 2

    // After a brightness change, GREY 2's activation resets BRIGHTNESS, whose own change makes
    // brightness the active kind again: GREY 3 then activates neutral anew and takes the
    // undo picture after GREY 2.
    openFromSeparation(picture);
    e->TrackBar2->setValue(10);
    const RgbImage brightened = brighter(picture, 10);
    press("grey2");
    EXPECT_EQ(e->TrackBar2->value(), 0);
    EXPECT_EQ(e->activeKind(), Tenhance::Kind::Brightness);
    press("grey3");
    EXPECT_TRUE(SameImage(grey(grey(brightened, 2), 3), e->working));
    press("undo");
    EXPECT_TRUE(SameImage(grey(brightened, 2), e->working));

    openFromSeparation(picture);
    press("grey1");
    press("grey3");
    press("undo");
    EXPECT_TRUE(SameImage(grey(picture, 1), e->working));  // the picture after GREY 1
    for (int kind : {5, 8}) {
        openFromSeparation(picture);
        press(kind == 5 ? "grey5" : "grey8");
        EXPECT_TRUE(SameImage(grey(picture, kind), e->working));
        EXPECT_EQ(e->activeKind(), kind == 8 ? Tenhance::Kind::None : Tenhance::Kind::Neutral);
    }
}

TEST_F(EnhanceScreen, UndoOnceAndUndoAll) {
    openFromSeparation(picture);
    e->SpinEdit4->setValue(2);
    e->SpinEdit5->setValue(1);
    press("undo");
    EXPECT_TRUE(SameImage(filtered(picture, kBlurKernel, 3), e->working));
    EXPECT_FALSE(enabled("undo"));
    press("undo");  // disabled: nothing happens
    EXPECT_TRUE(SameImage(filtered(picture, kBlurKernel, 3), e->working));
    press("grey4");
    EXPECT_TRUE(enabled("undo"));

    e->TrackBar1->setValue(40);
    click(e->RadioButton3);
    press("optimize");
    e->TrackBar5->setValue(-7);
    ASSERT_TRUE(enabled("undoAll"));
    press("undoAll");
    EXPECT_TRUE(SameImage(picture, e->working));
    EXPECT_EQ(values(), allZero);
    EXPECT_TRUE(e->RadioButton1->isChecked());
    EXPECT_FALSE(enabled("undo"));
    EXPECT_FALSE(enabled("undoAll"));
    EXPECT_EQ(e->activeKind(), Tenhance::Kind::None);
    // The next grey button takes a new undo picture: the opened one.
    press("grey6");
    press("undo");
    EXPECT_TRUE(SameImage(picture, e->working));
}

TEST_F(EnhanceScreen, ReopeningAfterOkUndoesToTheFreshPicture) {
    openFromSeparation(picture);
    press("ok");
    openFromSeparation(picture);
    press("grey7");
    press("undo");
    EXPECT_TRUE(SameImage(picture, e->working));
}

TEST_F(EnhanceScreen, TypedValues) {
    openFromSeparation(picture);
    EnhanceSpinEdit* field = e->SpinEdit2;  // CONTRAST, -30..30
    type(field, "");
    EXPECT_EQ(field->value(), -30);  // an empty field reads as the bottom of the range
    EXPECT_TRUE(SameImage(contrast(picture, 31, true), e->working));
    type(field, "-");
    EXPECT_EQ(field->value(), -30);
    type(field, "45");
    EXPECT_EQ(field->value(), 45);  // used as typed while the field has the focus
    EXPECT_TRUE(SameImage(contrast(picture, 46), e->working));
    type(field, "4x5");  // not a digit: refused
    EXPECT_EQ(typing(field)->text(), "45");
    loseFocus(field);
    EXPECT_EQ(field->value(), 30);
    EXPECT_EQ(typing(field)->text(), "30");
    EXPECT_TRUE(SameImage(contrast(picture, 31), e->working));

    // The first change of BLUR resets CONTRAST, whose own change resets BLUR to 0 again: the
    // first digit typed is lost. BLUR works from the contrast result.
    const RgbImage contrasted = contrast(picture, 31);
    EnhanceSpinEdit* blur = e->SpinEdit4;  // 0..20
    type(blur, "2");
    EXPECT_EQ(field->value(), 0);
    EXPECT_EQ(blur->value(), 0);
    EXPECT_EQ(typing(blur)->text(), "0");
    EXPECT_TRUE(SameImage(filtered(contrasted, kBlurKernel, 1), e->working));
    // The arrows clamp at once, also from a typed value outside the range.
    type(blur, "25");
    EXPECT_EQ(blur->value(), 25);
    click(blur->findChild<QAbstractButton*>("down"));
    EXPECT_EQ(blur->value(), 20);
    click(blur->findChild<QAbstractButton*>("up"));
    EXPECT_EQ(blur->value(), 20);
    EXPECT_TRUE(SameImage(filtered(contrasted, kBlurKernel, 21), e->working));
    type(blur, "-");
    EXPECT_EQ(blur->value(), 0);
    loseFocus(blur);
    EXPECT_EQ(typing(blur)->text(), "0");
    EXPECT_TRUE(SameImage(filtered(contrasted, kBlurKernel, 1), e->working));
}

TEST_F(EnhanceScreen, AFieldShowsItsValueAnewWhenTheProgramSetsIt) {
    openFromSeparation(picture);
    // A lone minus sign in BLUR reads as 0, its value already: nothing runs, the text stays.
    type(e->SpinEdit4, "-");
    EXPECT_EQ(typing(e->SpinEdit4)->text(), "-");
    // CONTRAST's activation sets BLUR to 0: no change of value, but the field shows "0".
    type(e->SpinEdit2, "-");
    EXPECT_EQ(e->SpinEdit2->value(), -30);
    EXPECT_EQ(typing(e->SpinEdit4)->text(), "0");
    // The field being typed into keeps its text.
    EXPECT_EQ(typing(e->SpinEdit2)->text(), "-");
}

TEST_F(EnhanceScreen, OkAndCancelReturnToTheSeparationScreen) {
    TForm021& separation = *screens->separation;
    const Workflow& workflow = screens->workflow;
    // Separations run by the workflow.
    const auto separations = std::make_shared<int>(0);
    screens->workflow.listen([separations](Change what) {
        if (what == Change::Separation) ++*separations;
    });
    // OK: the enhanced picture becomes the SOURCE copy and, when empty, the entry backup.
    openFromSeparation(picture);
    e->TrackBar2->setValue(12);
    int requests = *separations;
    press("ok");
    EXPECT_TRUE(SameImage(brighter(picture, 12), workflow.separationCopy));
    EXPECT_TRUE(SameImage(brighter(picture, 12), workflow.separationBackup));
    EXPECT_EQ(*separations, requests + 1);
    EXPECT_TRUE(separation.isVisible());
    EXPECT_FALSE(e->isVisible());
    EXPECT_FALSE(e->CheckBox2);
    EXPECT_TRUE(e->working.empty());
    EXPECT_EQ(values(), allZero);

    // A backup already there is kept.
    separation.hide();
    openFromSeparation(picture);
    press("grey2");
    press("ok");
    EXPECT_TRUE(SameImage(grey(picture, 2), workflow.separationCopy));
    EXPECT_TRUE(SameImage(brighter(picture, 12), workflow.separationBackup));

    // CANCEL, by the button or the window's close: the SOURCE picture as before the screen
    // opened, a re-separation, the separation screen.
    for (bool byWindow : {false, true}) {
        SCOPED_TRACE(byWindow ? "window close" : "CANCEL");
        separation.hide();
        const RgbImage before = randomImage(5, 4, byWindow ? 3 : 4);
        screens->pictures.source = before;
        openFromSeparation(picture);
        click(e->RadioButton3);
        e->Image1Click();
        ASSERT_TRUE(screens->previewViewer->isVisible());
        requests = *separations;
        if (byWindow)
            e->close();
        else
            press("cancel");
        EXPECT_TRUE(SameImage(before, screens->pictures.source));
        EXPECT_TRUE(SameImage(picture, workflow.separationCopy));  // untouched
        EXPECT_EQ(*separations, requests + 1);
        EXPECT_TRUE(separation.isVisible());
        EXPECT_FALSE(e->isVisible());
        EXPECT_FALSE(screens->previewViewer->isVisible());
        EXPECT_FALSE(e->CheckBox2);
        EXPECT_TRUE(e->RadioButton1->isChecked());
        EXPECT_TRUE(e->working.empty());
    }
}

TEST_F(EnhanceScreen, OkAndCancelReturnToTribalCreation) {
    const RgbImage twoColours = imageFromRows({{kBlack, kWhite, kWhite}, {kWhite, kWhite, kBlack}});
    openFromTribal(twoColours);
    EXPECT_TRUE(SameImage(twoColours, e->working));
    press("grey1");
    press("ok");
    EXPECT_TRUE(SameImage(grey(twoColours, 1), screens->pictures.source));
    EXPECT_EQ(screens->sourceViewer->windowTitle(), "SOURCE : 2  COLORS");
    for (QWidget* w :
         {static_cast<QWidget*>(screens->tribal.get()), static_cast<QWidget*>(screens->sourceViewer.get()),
          static_cast<QWidget*>(screens->resultViewer.get())})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(e->isVisible());

    screens->tribal->hide();
    openFromTribal(picture);
    e->SpinEdit3->setValue(9);
    press("cancel");
    EXPECT_TRUE(SameImage(picture, screens->pictures.source));
    EXPECT_TRUE(screens->tribal->isVisible());
    EXPECT_EQ(values(), allZero);
}

TEST_F(EnhanceScreen, PreviewAndHelp) {
    openFromSeparation(picture);
    e->TrackBar2->setValue(-20);
    QWidget* image = child<QWidget>(e, "Image1");
    EXPECT_EQ(image->size(), QSize(picture.width(), picture.height()));
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(SameImage(brighter(picture, -20), screens->pictures.preview));
    EXPECT_TRUE(screens->previewViewer->isVisible());
    press("help");
    EXPECT_TRUE(screens->enhanceHelp->isVisible());
}

}  // namespace
}  // namespace dg::test
