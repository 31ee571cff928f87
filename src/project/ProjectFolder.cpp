#include "project/ProjectFolder.h"

#include <exception>
#include <vector>

#include "formats/Bmp.h"
#include "imaging/Failure.h"
#include "output/NewFolder.h"

namespace dg {

namespace {

// The result, its channels and the stencil are made at the output size, so they claim the
// output resolution and print at their true size elsewhere too. _Source.bmp claims it only
// when it is the scaled SOURCE picture; the picture as taken in claims none.
void writePicture(FileSystem& files, const std::string& folder, const std::string& name,
                  const RgbImage& picture, std::int32_t dpi) {
    BmpHeader header;
    files.writeFilePieces(joinPath(folder, name), bmpPieces(picture, dpi, header));
}

void writeProjectFiles(const ProjectContent& content, const OutputSettings& state, const std::string& folder,
                       FileSystem& files) {
    const bool sourceScaled = content.sourceFile.width() == content.source.width() &&
                              content.sourceFile.height() == content.source.height();
    writePicture(files, folder, "_Source.bmp", content.sourceFile, sourceScaled ? state.outputDpi : 0);
    writePicture(files, folder, "_Result0.bmp", content.channels.before, state.outputDpi);
    writePicture(files, folder, kResultFileName, content.channels.after, state.outputDpi);
    const std::string descriptor = projectDescriptor(state, content.source.width(), content.source.height());
    files.writeFile(joinPath(folder, kDescriptorFileName),
                    std::vector<std::uint8_t>(descriptor.begin(), descriptor.end()));
    for (int n = 1; n <= kChannelCount; ++n) {
        const Channel& channel = content.channels.channel(n);
        if (channel.checked) writePicture(files, folder, channelFileName(n), channel.mask, state.outputDpi);
    }
    if (content.stencil != nullptr)
        writePicture(files, folder, "Stencil.bmp", *content.stencil, state.outputDpi);
}

}  // namespace

std::string unitName(MeasuringUnit unit) { return unit == MeasuringUnit::Inches ? "Inches" : "Centimeters"; }

std::string projectFolderPath(const std::string& chosenName, const OutputSettings& state) {
    const std::string unit = unitName(state.unit);
    return chosenName + " -OUTPUT- " + state.outputWidthText + "-" + unit + " W -" + state.outputHeightText +
           "-" + unit + " H-" + std::to_string(state.outputDpi) + "  DPI";
}

std::string projectDescriptor(const OutputSettings& state, std::int32_t sourceWidth,
                              std::int32_t sourceHeight) {
    const std::string lines[] = {
        "index",
        std::to_string(state.outputDpi),
        std::to_string(state.outputWidthWhole),
        std::to_string(state.outputWidthHundredths),
        std::to_string(state.outputHeightWhole),
        std::to_string(state.outputHeightHundredths),
        state.unit == MeasuringUnit::Inches ? "1" : "2",
        std::to_string(sourceWidth),
        std::to_string(sourceHeight),
        state.outputWidthText,
        state.outputHeightText,
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

ProjectContent channelsScreenProject(const RgbImage& source, const ChannelSet& channels) {
    return ProjectContent{source, source, channels, nullptr};
}

ProjectContent printingScreenProject(const RgbImage& intake, const RgbImage& source,
                                     const ChannelSet& channels, const RgbImage* stencilOrNull) {
    return ProjectContent{intake.empty() ? source : intake, source, channels, stencilOrNull};
}

bool saveProject(const ProjectContent& content, const OutputSettings& state, Dialogs& dialogs,
                 FileSystem& files) {
    const auto chosen = dialogs.saveAs();
    if (!chosen) return false;
    try {
        const std::string folder = projectFolderPath(*chosen, state);
        if (createNewFolder(files, folder) == NewFolderResult::AlreadyThere) {
            dialogs.message(kFolderExistsWarning);
            return false;
        }
        writeProjectFiles(content, state, folder, files);
        dialogs.message(kProjectSavedMessage + folder);
        return true;
    } catch (const Failure& failure) {
        dialogs.message(failure.what());
        return false;
    }
}

}  // namespace dg
