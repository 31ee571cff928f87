#include "formats/ReaderRegistry.h"

#include <algorithm>
#include <cctype>

#include "formats/AutodeskReader.h"
#include "formats/Bmp.h"
#include "formats/EmfReader.h"
#include "formats/EpsReader.h"
#include "formats/IcoReader.h"
#include "formats/JpegReader.h"
#include "formats/MagickReader.h"
#include "formats/PictureLimits.h"
#include "formats/PngReader.h"
#include "formats/Probes.h"
#include "formats/PsdReader.h"
#include "formats/PspReader.h"
#include "formats/RlaReader.h"
#include "formats/ScrReader.h"
#include "formats/TiffReader.h"
#include "formats/WmfReader.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

using SizeReader = bool (*)(const std::uint8_t*, std::size_t, ClaimedSize&);

RgbImage magick(const PictureSource& source, const char* name, SizeReader claimedSize = nullptr) {
    // Refuse an absurd size with our own message before the library sizes anything by it.
    ClaimedSize claimed;
    if (claimedSize != nullptr && claimedSize(source.data, source.size, claimed)) {
        checkPictureSize(claimed.width, claimed.height);
    }
    MagickRequest request;
    request.magick = name;
    request.path = source.path;
    return decodeWithMagick(source.data, source.size, request);
}

// Readers found by extension only.
RgbImage readBmp(const PictureSource& s) { return decodeBmp(s.data, s.size); }
RgbImage readIco(const PictureSource& s) { return decodeIco(s.data, s.size); }
RgbImage readWmf(const PictureSource& s) { return decodeWmf(s.data, s.size); }
RgbImage readEmf(const PictureSource& s) { return decodeEmf(s.data, s.size); }
RgbImage readJpeg(const PictureSource& s) { return decodeJpeg(s.data, s.size); }

// Content readers.
RgbImage readTga(const PictureSource& s) { return magick(s, "TGA", tgaSize); }
RgbImage readTiff(const PictureSource& s) { return decodeTiff(s.data, s.size); }
RgbImage readEps(const PictureSource& s) {
    if (!s.allowExternalPrograms) throw Failure("PostScript pictures cannot be rendered here.");
    return decodeEps(s.data, s.size);
}

bool looksPcxOrScr(const std::uint8_t* d, std::size_t size) { return looksPcx(d, size) || looksScr(d, size); }
RgbImage readPcx(const PictureSource& s) {
    // Word 5 keeps its screen captures in a PCX variant of its own.
    if (s.size > 0 && s.data[0] == 0xCD) return decodeScr(s.data, s.size);
    // The library draws every 1-bit picture in black and white, whatever two colours its header
    // palette holds; the screen-capture reader reads the PCX layout and takes them.
    if (s.size > 65 && s.data[3] == 1 && s.data[65] == 1) return decodeScr(s.data, s.size);
    return magick(s, "PCX", pcxSize);
}
// Our own reader: the library's takes the row number modulo the width, which scrambles any
// picture taller than it is wide.
RgbImage readRla(const PictureSource& s) { return decodeRla(s.data, s.size); }
RgbImage readSgi(const PictureSource& s) { return magick(s, "SGI", sgiSize); }
RgbImage readPnm(const PictureSource& s) { return magick(s, "PNM", pnmSize); }
RgbImage readPcd(const PictureSource& s) { return magick(s, "PCD"); }
RgbImage readCut(const PictureSource& s) {
    ClaimedSize claimed;
    if (cutSize(s.data, s.size, claimed)) checkPictureSize(claimed.width, claimed.height);
    MagickRequest request;
    request.magick = "CUT";
    request.path = s.path;
    // Its palette lies beside it in a .PAL file, which the library looks for by name.
    request.readFromPath = true;
    return decodeWithMagick(s.data, s.size, request);
}
RgbImage readPng(const PictureSource& s) { return decodePng(s.data, s.size); }

RgbImage readPsd(const PictureSource& s) { return decodePsd(s.data, s.size); }
RgbImage readAutodesk(const PictureSource& s) { return decodeAutodesk(s.data, s.size); }
RgbImage readPsp(const PictureSource& s) { return decodePsp(s.data, s.size); }

const PictureReader kBmp{"Windows bitmap", nullptr, readBmp};
const PictureReader kIco{"Windows icon", nullptr, readIco};
const PictureReader kWmf{"Windows metafile", nullptr, readWmf};
const PictureReader kEmf{"Windows enhanced metafile", nullptr, readEmf};
const PictureReader kJpeg{"JPEG", nullptr, readJpeg};

const PictureReader kTga{"Truevision (Targa)", looksTga, readTga};
const PictureReader kTiff{"TIFF", looksTiff, readTiff};
const PictureReader kEps{"Encapsulated PostScript", looksEps, readEps};
const PictureReader kPcx{"ZSoft PCX", looksPcxOrScr, readPcx};
const PictureReader kRla{"Alias/Wavefront RLA", looksRla, readRla};
const PictureReader kSgi{"SGI", looksSgi, readSgi};
const PictureReader kPsd{"Photoshop", looksPsd, readPsd};
const PictureReader kPnm{"Portable maps", looksPnm, readPnm};
const PictureReader kAutodesk{"Autodesk", looksAutodesk, readAutodesk};
const PictureReader kPcd{"Kodak Photo-CD", looksPcd, readPcd};
const PictureReader kCut{"Dr. Halo", looksCut, readCut};
const PictureReader kPsp{"Paintshop Pro", looksPsp, readPsp};
const PictureReader kPng{"PNG", looksPng, readPng};

}  // namespace

const std::vector<ReaderRegistration>& readerRegistrations() {
    static const std::vector<ReaderRegistration> registrations = {
        // First generation of the extension readers.
        {"wmf", "Metafiles", &kWmf},
        {"emf", "Enhanced Metafiles", &kEmf},
        {"ico", "Icons", &kIco},
        {"bmp", "Bitmaps", &kBmp},
        {"jpeg", "JPEG Image File", &kJpeg},
        {"jpg", "JPEG Image File", &kJpeg},
        // Second generation, then the content readers.
        {"bmp", "Windows bitmaps", &kBmp},
        {"ico", "Windows icons", &kIco},
        {"wmf", "Windows metafiles", &kWmf},
        {"emf", "Windows enhanced meta files", &kEmf},
        {"jfif", "JFIF images", &kJpeg},
        {"jpg", "JPG images", &kJpeg},
        {"jpe", "JPE images", &kJpeg},
        {"jpeg", "JPEG images", &kJpeg},
        {"rle", "Run length encoded Windows bitmaps", &kBmp},
        {"dib", "Device independant Windows bitmaps", &kBmp},
        {"win", "Truevision images", &kTga},
        {"vst", "Truevision images", &kTga},
        {"vda", "Truevision images", &kTga},
        {"tga", "Truevision images", &kTga},
        {"icb", "Truevision images", &kTga},
        {"tiff", "Macintosh TIFF images", &kTiff},
        {"tif", "PC TIF images", &kTiff},
        {"fax", "GFI fax images", &kTiff},
        {"eps", "Encapsulated Postscript images", &kEps},
        {"pcx", "ZSoft Paintbrush images", &kPcx},
        {"pcc", "ZSoft Paintbrush images", &kPcx},
        {"scr", "Word 5.x screen capture images", &kPcx},
        {"rpf", "Alias/Wavefront images", &kRla},
        {"rla", "Alias/Wavefront images", &kRla},
        {"sgi", "SGI true color images", &kSgi},
        {"rgba", "SGI true color images with alpha", &kSgi},
        {"rgb", "SGI true color images", &kSgi},
        {"bw", "SGI black/white images", &kSgi},
        {"psd", "Photoshop images", &kPsd},
        {"pdd", "Photoshop images", &kPsd},
        {"ppm", "Portable pixel map images", &kPnm},
        {"pgm", "Portable gray map images", &kPnm},
        {"pbm", "Portable bitmap images", &kPnm},
        {"cel", "Autodesk images", &kAutodesk},
        {"pic", "Autodesk images", &kAutodesk},
        {"pcd", "Kodak Photo-CD images", &kPcd},
        {"cut", "Dr. Halo images", &kCut},
        {"psp", "Paintshop Pro images", &kPsp},
        {"png", "Portable network graphic images", &kPng},
    };
    return registrations;
}

const std::vector<const PictureReader*>& contentReaders() {
    static const std::vector<const PictureReader*> readers = {
        &kTga, &kTiff, &kEps, &kPcx, &kRla, &kSgi, &kPsd, &kPnm, &kAutodesk, &kPcd, &kCut, &kPsp, &kPng};
    return readers;
}

const PictureReader* contentReaderFor(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return nullptr;
    for (const PictureReader* reader : contentReaders()) {
        if (reader->probe(data, size)) return reader;
    }
    return nullptr;
}

const PictureReader* readerForExtension(const std::string& extension) {
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto& registrations = readerRegistrations();
    for (auto it = registrations.rbegin(); it != registrations.rend(); ++it) {
        if (lower == it->extension) return it->reader;
    }
    return nullptr;
}

}  // namespace dg
