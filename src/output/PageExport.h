#pragma once

#include <string>

#include "imaging/OutputSettings.h"
#include "output/PageEntries.h"
#include "output/PageLayout.h"
#include "output/PagePictures.h"
#include "platform/Platform.h"

namespace dg {

enum class PageFileType { Jpeg, Bmp };

// The printing screen's group "SAVE CHECKED PAGES".
struct ExportSettings {
    PageFileType fileType = PageFileType::Jpeg;
    bool openTarget = false;  // "OPEN TARGET"
};

inline constexpr const char* kPagesFolderSuffix = " Pages";
inline constexpr const char* kPagesSavedMessage = "CHECKED PAGES SAVED IN FOLDER: ";
inline constexpr const char* kNoPageCheckedMessage =
    "NOTHING SAVED: NO PAGE IS CHECKED. Please check the pages to save.";

// "STENCILpage.jpeg", "ColorMatchingPage.bmp", "RESULTpage.bmp", "7page.jpeg", ...
std::string stencilPageFileName(PageFileType type);
std::string colorMatchingPageFileName(PageFileType type);
std::string resultPageFileName(PageFileType type);
std::string channelPageFileName(int n, PageFileType type);

// "Save checked as virtual printer...": every ticked entry as a full printer page, laid out
// exactly as "Print checked" would print it, written into a new folder named after the save
// dialog's answer and " Pages". The colour-matching page is a portrait page. The label's
// points become pixels at `screenDpi`. Pages are made and encoded on all cores; the files are
// the same whatever the number of workers, and are written in entry order, so a failure
// leaves every page before it on disk. Failures show "ERROR" and their text. With no entry
// ticked it shows kNoPageCheckedMessage and asks for no name. The entries keep their ticks.
// Returns whether the pages were saved.
bool exportCheckedPages(const PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                        const PageSettings& settings, const ExportSettings& exportSettings, int screenDpi,
                        Platform& platform);

}  // namespace dg
