#include "app/EnhanceSession.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/Effects.h"
#include "imaging/Enhance.h"

namespace dg {

namespace {

using Control = EnhanceSession::Control;
using Kind = EnhanceSession::Kind;

// The order every activation and UNDO set the controls back to 0 in.
constexpr std::array<Control, EnhanceSession::kControlCount> kActivationOrder{
    Control::Contrast, Control::Saturation, Control::Blur,    Control::Sharpen,  Control::Brightness,
    Control::RedGreen, Control::GreenBlue,  Control::RedBlue, Control::Posterize};

// The order Open, UNDO ALL, OK and CANCEL set them back to 0 in: POSTERIZE before BRIGHTNESS.
constexpr std::array<Control, EnhanceSession::kControlCount> kOpenOrder{
    Control::Contrast,   Control::Saturation, Control::Blur,      Control::Sharpen, Control::Posterize,
    Control::Brightness, Control::RedGreen,   Control::GreenBlue, Control::RedBlue};

// The controls an activation leaves alone: the kind's own, and POSTERIZE for neutral and
// colour reduction.
bool keeps(Kind kind, Control control) {
    switch (kind) {
        case Kind::Neutral:
        case Kind::Reduction:
        case Kind::Posterize:
            return control == Control::Posterize;
        case Kind::Brightness:
            return control == Control::Brightness;
        case Kind::Contrast:
            return control == Control::Contrast;
        case Kind::Saturation:
            return control == Control::Saturation;
        case Kind::Blur:
            return control == Control::Blur;
        case Kind::Sharpen:
            return control == Control::Sharpen;
        case Kind::Balance:
            return control == Control::RedGreen || control == Control::GreenBlue ||
                   control == Control::RedBlue;
        case Kind::None:
            return true;
    }
    return true;
}

}  // namespace

EnhanceSession::Range EnhanceSession::range(Control control) {
    switch (control) {
        case Control::Brightness:
            return {-100, 100};
        case Control::Contrast:
            return {-30, 30};
        case Control::Saturation:
            return {0, 50};
        case Control::Sharpen:
            return {0, 30};
        case Control::Blur:
            return {0, 20};
        case Control::Posterize:
            return {0, 255};
        case Control::RedGreen:
        case Control::GreenBlue:
        case Control::RedBlue:
            return {-15, 15};
    }
    return {0, 0};
}

EnhanceSession::EnhanceSession() {
    working_.reset(1, 1);
    base_.reset(1, 1);
    undo_.reset(1, 1);
    brightnessBase_.reset(1, 1);
}

std::array<bool, EnhanceSession::kControlCount> EnhanceSession::takeProgramSets() {
    const auto sets = programSets_;
    programSets_.fill(false);
    return sets;
}

void EnhanceSession::set(Control control, int value) {
    programSets_[index(control)] = true;
    const Range r = range(control);
    store(control, std::clamp(value, r.minimum, r.maximum));
}

void EnhanceSession::setTyped(Control control, int value) { store(control, value); }

void EnhanceSession::store(Control control, int value) {
    int& stored = values_[index(control)];
    if (stored == value) return;
    stored = value;
    change(control);
}

void EnhanceSession::chooseReduction(Reduction choice) {
    if (reduction_ == choice) return;
    reduction_ = choice;
    colourReduction();
}

void EnhanceSession::enableUndo() {
    undoEnabled_ = true;
    undoAllEnabled_ = true;
}

// ---- Activation ---------------------------------------------------------------------------

void EnhanceSession::activate(Kind kind) {
    if (active_ == kind) return;
    active_ = kind;
    runActivation(kind);
}

void EnhanceSession::runActivation(Kind kind) {
    auto resets = [&] {
        for (Control control : kActivationOrder)
            if (!keeps(kind, control)) set(control, 0);
    };
    if (kind == Kind::Reduction) {
        copyPixels(working_, base_);
        resets();
        return;
    }
    copyPixels(working_, undo_);
    chooseReduction(Reduction::TrueColor);
    if (kind == Kind::Brightness) {
        // The resets may change the working picture; BRIGHTNESS keeps computing from the
        // picture before them, while the base takes what they leave.
        copyPixels(working_, brightnessBase_);
        resets();
        copyPixels(working_, base_);
        return;
    }
    copyPixels(working_, base_);
    resets();
}

// ---- Change operations --------------------------------------------------------------------

void EnhanceSession::change(Control control) {
    switch (control) {
        case Control::Brightness:
            brightnessChange();
            break;
        case Control::Contrast:
            contrastChange();
            break;
        case Control::Saturation:
            saturationChange();
            break;
        case Control::Sharpen:
            sharpenChange();
            break;
        case Control::Blur:
            blurChange();
            break;
        case Control::Posterize:
            posterizeChange();
            break;
        case Control::RedGreen:
        case Control::GreenBlue:
        case Control::RedBlue:
            balanceChange(control);
            break;
    }
}

// Each change reads its value only after the activation, whose nested resets may have set it
// back to 0.

void EnhanceSession::brightnessChange() {
    enableUndo();
    activate(Kind::Brightness);
    addBrightness(brightnessBase_, working_, value(Control::Brightness));
}

void EnhanceSession::contrastChange() {
    enableUndo();
    activate(Kind::Contrast);
    const int v = value(Control::Contrast);
    if (v == 0)
        copyPixels(base_, working_);
    else
        contrastSteps(base_, working_, std::abs(v) + 1, v < 0);
}

void EnhanceSession::saturationChange() {
    enableUndo();
    activate(Kind::Saturation);
    const int v = value(Control::Saturation);
    if (v > 0)
        saturationSteps(base_, working_, v + 1);
    else
        copyPixels(base_, working_);
}

void EnhanceSession::sharpenChange() {
    enableUndo();
    activate(Kind::Sharpen);
    filter3x3(base_, working_, kSharpenKernel, value(Control::Sharpen) + 1, &filterCopy_);
}

void EnhanceSession::blurChange() {
    enableUndo();
    activate(Kind::Blur);
    filter3x3(base_, working_, kBlurKernel, value(Control::Blur) + 1, &filterCopy_);
}

void EnhanceSession::posterizeChange() {
    enableUndo();
    if (active_ == Kind::Posterize) copyPixels(base_, working_);
    activate(Kind::Posterize);
    const std::array<std::uint8_t, 256> table = posterizeTable(value(Control::Posterize));
    bool identity = true;  // levels 0 and 1
    for (int v = 0; v < 256; ++v) identity = identity && table[static_cast<std::size_t>(v)] == v;
    if (!identity) mapBytes(working_, working_, table);
}

void EnhanceSession::balanceChange(Control side) {
    enableUndo();
    if (active_ == Kind::Balance) copyPixels(base_, working_);
    activate(Kind::Balance);
    const int v = value(side);
    if (v == 0) return;
    const BalanceSide balanceSide = side == Control::RedGreen    ? BalanceSide::RedGreen
                                    : side == Control::GreenBlue ? BalanceSide::GreenBlue
                                                                 : BalanceSide::RedBlue;
    balanceSteps(working_, working_, balanceSide, v > 0, std::abs(v) + 1);
}

void EnhanceSession::colourReduction() {
    if (active_ != Kind::Reduction) {
        copyPixels(working_, undo_);
        enableUndo();
    }
    activate(Kind::Reduction);
    copyPixels(working_, base_);
    // Always from the picture before reduction began, whichever option is chosen by now.
    switch (reduction_) {
        case Reduction::UpTo16Colors:
            reduceToSixteenColours(undo_, working_);
            break;
        case Reduction::UpTo256Colors:
            reduceToHalftone(undo_, working_);
            break;
        case Reduction::TrueColor:
            copyPixels(undo_, working_);
            break;
    }
}

// ---- Buttons --------------------------------------------------------------------------------

void EnhanceSession::grey(int kind) {
    activate(Kind::Neutral);
    enableUndo();
    toGrey(working_, working_, kind);
    // GREY 1 and GREY 8 let the next grey button take a new undo picture; a run of the others
    // shares one.
    if (kind == 1 || kind == 8) active_ = Kind::None;
}

void EnhanceSession::optimize() {
    copyPixels(working_, undo_);
    chooseReduction(Reduction::TrueColor);
    enableUndo();
    const RgbImage beforeOptimize = undo_;
    const int rounds = value(Control::Blur) + 1;
    for (int i = 0; i < rounds; ++i) {
        set(Control::Posterize, value(Control::Posterize) + 1);
        set(Control::Sharpen, value(Control::Sharpen) + 1);
        set(Control::Blur, value(Control::Blur) + 1);
        set(Control::Brightness, value(Control::Brightness) - 2);
        set(Control::Contrast, value(Control::Contrast) + 2);
        set(Control::Saturation, value(Control::Saturation) + 1);
    }
    copyPixels(working_, base_);
    copyPixels(beforeOptimize, undo_);
}

void EnhanceSession::undo() {
    undoAllEnabled_ = true;
    chooseReduction(Reduction::TrueColor);
    for (Control control : kActivationOrder) set(control, 0);
    copyPixels(undo_, working_);
    undoEnabled_ = false;
    copyPixels(working_, base_);
}

void EnhanceSession::undoAll(const std::function<void()>& reopen) {
    copyPixels(working_, undo_);
    chooseReduction(Reduction::TrueColor);
    resetControls();
    undoAllEnabled_ = false;
    reopen();
    // Neutral was made active by Open and is now left, so that the next grey button takes a
    // new undo picture.
    active_ = Kind::None;
}

// ---- Open and close ------------------------------------------------------------------------

void EnhanceSession::open(const RgbImage& picture) {
    undoEnabled_ = false;
    resetControls();
    working_ = picture;
    undoAllEnabled_ = false;
    active_ = Kind::Neutral;
    runActivation(Kind::Neutral);
}

void EnhanceSession::resetControls() {
    for (Control control : kOpenOrder) set(control, 0);
}

void EnhanceSession::closeKeepingWorking() {
    undoEnabled_ = false;
    base_.clear();
    undo_.clear();
    brightnessBase_.clear();
    filterCopy_.clear();
}

void EnhanceSession::discard() {
    undoEnabled_ = false;
    resetControls();
    working_.clear();
    base_.clear();
    undo_.clear();
    brightnessBase_.clear();
    filterCopy_.clear();
}

}  // namespace dg
