// Arbitrary bytes as encoded image data: read as the picture their signature names (PNG, BMP,
// JPEG), and as a library part's preview converted by the host to PNG. Nothing may read outside
// the data; a picture that decodes has the size its pixel map says, and nothing leaks.
#include "Environment/MemoryBlock.h"
#include "GX/GSPixMap.hpp"
#include "Interface/Image.h"
#include "Library/Library.h"
#include "Library/ObjectSource.h"
#include "sim/Library.h"

#include "HostMemoryCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace zelvane;

namespace {

[[noreturn]] void fault(char const* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void readPicture(std::uint8_t const* data, std::size_t size) {
    MemoryBlock block(data, int(size));
    Image image(block);
    GSPixMapHandle pixels = image.getPixelMap();
    if (image.isEmpty() != (pixels == nullptr)) {
        fault("a picture without pixels, or pixels without a picture");
    }
    if (pixels != nullptr && (GXGetGSPixMapWidth(pixels) != image.getBounds().getEnd().getX() ||
                              GXGetGSPixMapHeight(pixels) != image.getBounds().getEnd().getY())) {
        fault("the pixel map and the picture disagree on the size");
    }
}

void readPreview(std::uint8_t const* data, std::size_t size) {
    sim::clearLibrary();
    sim::LibPartDef def;
    def.name = "Previewed";
    def.sections[MakeGSType("GIFF")] =
        std::string("image/jpeg", 11) + std::string(reinterpret_cast<char const*>(data), size);
    Library library(nullptr, 0);
    ObjectSource part(ComponentLink(sim::addLibPart(def), APILib_ObjectID, &library));
    std::unique_ptr<Image> preview(part.getPreviewImage());
    if (preview != nullptr && preview->isEmpty()) {
        fault("a converted preview the host cannot read");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size > (1 << 20)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    readPicture(data, size);
    readPreview(data, size);
    checkHostMemory(start);
    return 0;
}
