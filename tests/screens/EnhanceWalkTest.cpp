// The recorded enhance walks (tests/app/EnhanceWalks.h) on the screen itself, driven through
// its widgets: the screen must show what the recorded steps left, control by control.

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "ShellFixture.h"
#include "app/EnhanceWalks.h"
#include "screens/EnhanseUnit.h"
#include "screens/SeparationScreen.h"

namespace dg::test {
namespace {

const char* kindName(Tenhance::Kind kind) {
    switch (kind) {
        case Tenhance::Kind::None:
            return "none";
        case Tenhance::Kind::Neutral:
            return "neutral";
        case Tenhance::Kind::Brightness:
            return "brightness";
        case Tenhance::Kind::Contrast:
            return "contrast";
        case Tenhance::Kind::Saturation:
            return "saturation";
        case Tenhance::Kind::Sharpen:
            return "sharpen";
        case Tenhance::Kind::Blur:
            return "blur";
        case Tenhance::Kind::Balance:
            return "colour balance";
        case Tenhance::Kind::Posterize:
            return "posterize";
        case Tenhance::Kind::Reduction:
            return "colour reduction";
    }
    return "?";
}

class EnhanceWalks : public ShellFixture, public walks::FrontEnd {
protected:
    void open(const RgbImage& picture, bool tribal) override {
        openEnhance(picture, tribal);
        picture_ = picture;
    }

    void take(const walks::Step& step, bool tribal) override {
        using Kind = walks::Step::Kind;
        Tenhance* e = screens->enhance.get();
        switch (step.kind) {
            case Kind::Set:
                if (auto* s = qobject_cast<QSlider*>(control(step.control)))
                    s->setValue(step.value);
                else
                    field(step.control)->setValue(step.value);
                break;
            case Kind::Type: {
                QLineEdit* edit = field(step.control)->editor();
                edit->selectAll();
                QTest::keyClick(edit, Qt::Key_Backspace);
                QTest::keyClicks(edit, QString::number(step.value));
                break;
            }
            case Kind::Leave: {
                QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(field(step.control)->editor(), &out);
                break;
            }
            case Kind::Grey:
                click(button(e, QString("grey%1").arg(step.control).toUtf8().constData()));
                break;
            case Kind::Optimize:
                click(button(e, "optimize"));
                break;
            case Kind::Undo:
                click(button(e, "undo"));
                break;
            case Kind::UndoAll:
                click(button(e, "undoAll"));
                break;
            case Kind::Reduce:
                click(radio(step.control));
                break;
            case Kind::OkAndReopen:
            case Kind::CancelAndReopen:
                click(button(e, step.kind == Kind::OkAndReopen ? "ok" : "cancel"));
                open(picture_, tribal);
                break;
        }
    }

    walks::State state() override {
        Tenhance* e = screens->enhance.get();
        walks::State s;
        s.working = e->working;
        for (int c = 0; c < walks::kControls; ++c) {
            QWidget* w = control(c);
            if (auto* slider = qobject_cast<QSlider*>(w))
                s.values[static_cast<std::size_t>(c)] = slider->value();
            else
                s.values[static_cast<std::size_t>(c)] = field(c)->value();
        }
        for (int r = 0; r < 3; ++r)
            if (radio(r)->isChecked()) s.reduction = r;
        s.undo = button(e, "undo")->isEnabled();
        s.undoAll = button(e, "undoAll")->isEnabled();
        s.activeKind = kindName(e->activeKind());
        return s;
    }

    // The controls in the order of the walks, found by their names.
    QWidget* control(int c) {
        static const char* const names[] = {"SpinEdit2", "SpinEdit3", "SpinEdit4", "SpinEdit5", "TrackBar1",
                                            "TrackBar2", "TrackBar3", "TrackBar4", "TrackBar5"};
        return child<QWidget>(screens->enhance.get(), names[c]);
    }
    EnhanceSpinEdit* field(int c) { return qobject_cast<EnhanceSpinEdit*>(control(c)); }
    QRadioButton* radio(int r) {
        static const char* const names[] = {"RadioButton1", "RadioButton2", "RadioButton3"};
        return child<QRadioButton>(screens->enhance.get(), names[r]);
    }

    RgbImage picture_;
};

TEST_F(EnhanceWalks, TheScreenShowsWhatEveryRecordedStepLeft) { walks::runWalks(*this); }

}  // namespace
}  // namespace dg::test
