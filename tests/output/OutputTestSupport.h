#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"
#include "platform/fake/FakePlatform.h"
#include "separation/ChannelModel.h"

namespace dg::test {

// A channel set built by hand from a picture of at most 23 colours: channel N is the N-th
// colour in ascending colour value, every channel ticked, AFTER and BEFORE the picture.
inline ChannelSet channelSetOf(const RgbImage& picture) {
    std::set<ColorValue> colors;
    for (std::int32_t y = 0; y < picture.height(); ++y)
        for (std::int32_t x = 0; x < picture.width(); ++x) colors.insert(picture.pixel(x, y));
    ChannelSet set;
    set.total = picture.width() * picture.height();
    set.before = picture;
    set.after = picture;
    int n = 1;
    for (const ColorValue color : colors) {
        set.colorOf(n) = color;
        Channel& channel = set.channel(n);
        channel.color = color;
        channel.checked = true;
        channel.mask = RgbImage(picture.width(), picture.height());
        channel.mask.fill(maskBackground(color));
        for (std::int32_t y = 0; y < picture.height(); ++y)
            for (std::int32_t x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) == color) {
                    channel.mask.setPixel(x, y, color);
                    ++channel.count;
                }
        set.counts[static_cast<std::size_t>(n - 1)] = channel.count;
        ++n;
    }
    return set;
}

// The real disk, except that writing a file whose name ends in `fullOn` goes to Linux's
// full device, as a disk that fills up while the file is written. Every write is recorded.
class RecordingFileSystem : public fake::FakeFileSystem {
public:
    std::string fullOn;
    std::vector<std::string> written;  // paths, in order, of the writes that succeeded

    void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        if (!fullOn.empty() && path.size() >= fullOn.size() &&
            path.compare(path.size() - fullOn.size(), fullOn.size(), fullOn) == 0) {
            LocalFileSystem::writeFile("/dev/full", bytes);
        }
        FakeFileSystem::writeFile(path, bytes);
        written.push_back(path);
    }
    void writeFilePieces(const std::string& path,
                         const std::vector<std::span<const std::uint8_t>>& pieces) override {
        FileSystem::writeFilePieces(path, pieces);  // joined, through writeFile above
    }
};

// The fakes with the recording file system in place of the plain one.
struct RecordingPlatform {
    fake::FakePrinter printer;
    fake::FakeClipboard clipboard;
    fake::FakeDialogs dialogs;
    RecordingFileSystem files;
    fake::FakeShell shell;
    Platform platform{printer, clipboard, dialogs, files, shell};
    RecordingPlatform() { dialogs.files = &files; }
};

inline std::vector<std::string> namesIn(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& p : paths) names.push_back(p.substr(p.find_last_of('/') + 1));
    return names;
}

}  // namespace dg::test
