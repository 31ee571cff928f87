#pragma once

#include <cstdint>
#include <string>

#include "imaging/OutputSettings.h"
#include "imaging/RgbImage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "separation/ChannelModel.h"

namespace dg {

inline constexpr const char* kDescriptorFileName = "PROJECT.CSP";
inline constexpr const char* kResultFileName = "RESULT.bmp";
inline constexpr const char* kProjectSavedMessage = "PROJECT SAVED IN FOLDER: ";

// "Inches" or "Centimeters", as the output-size screen labels width and height.
std::string unitName(MeasuringUnit unit);

// The chosen name followed by " -OUTPUT- ", the width text, "-", the unit, " W -", the height
// text, "-", the unit, " H-", the DPI and "  DPI".
std::string projectFolderPath(const std::string& chosenName, const OutputSettings& state);

// PROJECT.CSP: eleven lines, each ended by CR LF (the last too): "index", DPI, width whole,
// width hundredths, height whole, height hundredths, unit ("1" inches, "2" centimetres),
// SOURCE width and height in pixels, width text, height text.
std::string projectDescriptor(const OutputSettings& state, std::int32_t sourceWidth,
                              std::int32_t sourceHeight);

// What a project folder holds, as the screen that saves it sees it.
struct ProjectContent {
    const RgbImage& sourceFile;         // written as _Source.bmp
    const RgbImage& source;             // the SOURCE picture: its size goes into PROJECT.CSP
    const ChannelSet& channels;         // BEFORE, AFTER and the ticked channels' masks
    const RgbImage* stencil = nullptr;  // Stencil.bmp; only from the printing screen with a stencil
};

// The content saved from the channels screen: _Source.bmp is the SOURCE picture.
ProjectContent channelsScreenProject(const RgbImage& source, const ChannelSet& channels);
// From the printing screen: _Source.bmp is the intake picture (the SOURCE picture when there
// is none), and Stencil.bmp is written when a stencil was made.
ProjectContent printingScreenProject(const RgbImage& intake, const RgbImage& source,
                                     const ChannelSet& channels, const RgbImage* stencilOrNull);

// Save project: the save dialog, then a new folder (never an existing one) with _Source.bmp,
// _Result0.bmp, RESULT.bmp, PROJECT.CSP, the ticked channels' N.bmp and Stencil.bmp, in this
// order, and "PROJECT SAVED IN FOLDER: " with the path. A folder that cannot be created or a
// file that cannot be written shows the system's error; files already written stay and no
// success message follows. Returns whether the project was saved.
bool saveProject(const ProjectContent& content, const OutputSettings& state, Dialogs& dialogs,
                 FileSystem& files);

}  // namespace dg
