// Enhanced metafiles: the header and record walk, then the drawing of the records. Drawing
// needs a running GUI application (fonts), so one is started on the offscreen platform.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "formats/EmfReader.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    dg::fuzz::useSmallLimits();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodeEmf);
}
