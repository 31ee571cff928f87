#include <QCheckBox>
#include <QSpinBox>

#include "ShellFixture.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"

namespace dg::test {
namespace {

enum class Commit { Enter, FocusLost };

// The number fields take typed numbers: the text counts once, when Enter commits it or the
// field loses focus, clamped into the field's range as the arrows never leave it.
class TypedNumbers : public ShellFixture {
protected:
    // Types into a field of a shown window; nothing may have changed before the commit.
    void type(QWidget* window, const char* field, const char* typed, Commit commit) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        auto* box = child<QSpinBox>(window, field);
        ASSERT_NE(box, nullptr);
        const int before = box->value();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        EXPECT_EQ(box->value(), before) << "changed before it was committed";
        EXPECT_EQ(recomputes, 0) << "recomputed before the text was committed";
        if (commit == Commit::Enter) {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            // Any other control taking the focus commits the text.
            QWidget* other = window->findChild<QCheckBox*>();
            ASSERT_NE(other, nullptr);
            other->setFocus();
            EXPECT_FALSE(box->hasFocus());
        }
    }

    int recomputes = 0;
};

// On the output-size screen (200 x 300 pixels, 100 DPI, 8.50 x 12.75 cm, the proportions not
// kept so every field is free): the value after the commit, what the recompute shows, and one
// recompute for one change, none when the committed value is the one the field had.
TEST_F(TypedNumbers, OutputSizeFieldsClampAndRecomputeOnce) {
    struct Case {
        const char* field;
        const char* typed;
        Commit commit;
        int value;
        int recomputes;
        const char* widthText;
        const char* heightText;
        const char* widthRange;
        const char* heightRange;
    };
    const Case cases[] = {
        {"SpinEdit1", "120", Commit::Enter, 120, 1, "8.5", "12.75", "100 AND 402 PIXELS WIDTH",
         "151 AND 602 PIXELS HEIGHT"},
        {"SpinEdit1", "200", Commit::Enter, 160, 1, "8.5", "12.75", "134 AND 535 PIXELS WIDTH",
         "201 AND 803 PIXELS HEIGHT"},
        {"SpinEdit1", "7", Commit::FocusLost, 70, 1, "8.5", "12.75", "59 AND 234 PIXELS WIDTH",
         "88 AND 351 PIXELS HEIGHT"},
        // Letters never get in: "8a5" is 85.
        {"SpinEdit1", "8a5", Commit::Enter, 85, 1, "8.5", "12.75", "71 AND 284 PIXELS WIDTH",
         "107 AND 427 PIXELS HEIGHT"},
        {"SpinEdit1", "100", Commit::Enter, 100, 0, "8.5", "12.75", "84 AND 335 PIXELS WIDTH",
         "125 AND 502 PIXELS HEIGHT"},
        {"SpinEdit1", "999", Commit::FocusLost, 160, 1, "8.5", "12.75", "134 AND 535 PIXELS WIDTH",
         "201 AND 803 PIXELS HEIGHT"},
        // No number at all: the value stays as it was.
        {"SpinEdit1", "-", Commit::Enter, 100, 0, "8.5", "12.75", "84 AND 335 PIXELS WIDTH",
         "125 AND 502 PIXELS HEIGHT"},
        {"SpinEdit2", "75", Commit::Enter, 60, 1, "60.5", "12.75", "595 AND 2382 PIXELS WIDTH",
         "125 AND 502 PIXELS HEIGHT"},
        {"SpinEdit2", "0", Commit::FocusLost, 1, 1, "1.5", "12.75", "15 AND 59 PIXELS WIDTH",
         "125 AND 502 PIXELS HEIGHT"},
        {"SpinEdit3", "150", Commit::Enter, 99, 1, "8.99", "12.75", "88 AND 354 PIXELS WIDTH",
         "125 AND 502 PIXELS HEIGHT"},
        {"SpinEdit3", "5", Commit::FocusLost, 5, 1, "8.05", "12.75", "79 AND 317 PIXELS WIDTH",
         "125 AND 502 PIXELS HEIGHT"},
        {"SpinEdit4", "-3", Commit::Enter, 0, 1, "8.5", "0.75", "84 AND 335 PIXELS WIDTH",
         "7 AND 30 PIXELS HEIGHT"},
        {"SpinEdit5", "100", Commit::FocusLost, 99, 1, "8.5", "12.99", "84 AND 335 PIXELS WIDTH",
         "128 AND 511 PIXELS HEIGHT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " typed \"" + c.typed + "\"");
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        paste(RgbImage(200, 300));
        TForm004* out = screens->outputSize.get();
        ASSERT_TRUE(out->isVisible());
        click(child<QCheckBox>(out, "PreserveAspectRatio"));
        recomputes = 0;
        screens->workflow.listen([this](Change what) { recomputes += what == Change::OutputSize ? 1 : 0; });

        type(out, c.field, c.typed, c.commit);
        EXPECT_EQ(child<QSpinBox>(out, c.field)->value(), c.value);
        EXPECT_EQ(child<QSpinBox>(out, c.field)->text(), QString::number(c.value));
        EXPECT_EQ(recomputes, c.recomputes);
        EXPECT_EQ(text(out, "outputWidthText"), c.widthText);
        EXPECT_EQ(text(out, "outputHeightText"), c.heightText);
        EXPECT_EQ(text(out, "widthRange"), c.widthRange);
        EXPECT_EQ(text(out, "heightRange"), c.heightRange);
        EXPECT_EQ(screens->state.outputWidthText, c.widthText);
    }
}

// The same on the other screens' number fields: OPTIONS' corners, PRINTING's label and corners.
TEST_F(TypedNumbers, OtherFieldsClampIntoTheirRanges) {
    struct Case {
        const char* screen;
        const char* field;
        const char* typed;
        int value;
    };
    const Case cases[] = {
        {"options", "cornerWidth", "51", 50},    {"options", "cornerSize", "0", 1},
        {"options", "cornerSize", "250", 250},   {"printing", "fontSize", "100", 72},
        {"printing", "fontSize", "3", 8},        {"printing", "cornerWidth", "0", 1},
        {"printing", "cornerSize", "9999", 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.screen) + " " + c.field + " typed \"" + c.typed + "\"");
        QWidget* window = std::string(c.screen) == "options" ? static_cast<QWidget*>(screens->options.get())
                                                             : static_cast<QWidget*>(screens->printing.get());
        type(window, c.field, c.typed, Commit::Enter);
        EXPECT_EQ(child<QSpinBox>(window, c.field)->value(), c.value);
        window->hide();
    }
}

}  // namespace
}  // namespace dg::test
