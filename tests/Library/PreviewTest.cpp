#include "Environment/Memory.h"
#include "Environment/MemoryBlock.h"
#include "GX/GSPixMap.hpp"
#include "Interface/Image.h"
#include "Library/Library.h"
#include "Library/ObjectSource.h"
#include "sim/Library.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

using namespace zelvane;

namespace {

// A one-pixel, 24-bit uncompressed bitmap.
std::string onePixelBitmap() {
    std::string bmp = "BM";
    auto put32 = [&bmp](UInt32 value) {
        for (int i = 0; i < 4; ++i) {
            bmp.push_back(char((value >> (8 * i)) & 0xFF));
        }
    };
    auto put16 = [&bmp](UInt16 value) {
        bmp.push_back(char(value & 0xFF));
        bmp.push_back(char(value >> 8));
    };
    put32(58);
    put32(0);
    put32(54);
    put32(40);
    put32(1);
    put32(1);
    put16(1);
    put16(24);
    put32(0);
    put32(4);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    bmp += std::string("\x10\x20\x30\x00", 4);
    return bmp;
}

std::unique_ptr<ParametricSource> partWith(const std::map<GSType, std::string>& sections, Library& library) {
    sim::LibPartDef def;
    def.name = "Previewed";
    def.sections = sections;
    Int32 index = sim::addLibPart(def);
    return std::make_unique<ObjectSource>(ComponentLink(index, APILib_ObjectID, &library));
}

} // namespace

TEST(PreviewTest, PreviewsComeFromTheirSections) {
    Library library(nullptr, 0);
    std::string bitmap = onePixelBitmap();
    auto part = partWith(
        {{MakeGSType("GIFF"), std::string("image/bmp", 10) + bitmap}, {MakeGSType("PICT"), "picture bytes"}},
        library);
    std::unique_ptr<Image> pict(part->getPreviewPict());
    ASSERT_NE(pict, nullptr);
    EXPECT_EQ(pict->getData().size(), 13);

    std::unique_ptr<Image> converted(part->getPreviewImage());
    ASSERT_NE(converted, nullptr);
    const MemoryBlock& png = converted->getData();
    ASSERT_GT(png.size(), 8);
    EXPECT_EQ(std::memcmp(*png.getHandle(), "\x89PNG", 4), 0);

    auto none = partWith({}, library);
    EXPECT_EQ(none->getPreviewImage(), nullptr);
    EXPECT_EQ(none->getPreviewPict(), nullptr);
    auto unreadable = partWith({{MakeGSType("GIFF"), std::string("image/gif\0GIF89a", 16)}}, library);
    EXPECT_EQ(unreadable->getPreviewImage(), nullptr);
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL);
    EXPECT_EQ(part->getPreviewImage(), nullptr);
}

TEST(PreviewTest, NewPreviewsAreStoredAsJpeg) {
    Library library(nullptr, 0);
    auto part = partWith({}, library);
    GSPixMapHandle pixels = GXCreateGSPixMap(4, 3, 72.0, 72.0, GSPixelARGB32);
    ASSERT_NE(pixels, nullptr);
    Image image(pixels);
    part->setPreviewGif(image);
    GSHandle section = part->getSection(MakeGSType("GIFF"));
    ASSERT_NE(section, nullptr);
    std::string bytes(*section, std::size_t(getHandleSize(section)));
    ASSERT_GT(bytes.size(), 14u);
    EXPECT_EQ(bytes.substr(0, 11), std::string("image/jpeg\0", 11));
    EXPECT_EQ(bytes.substr(11, 3), "\xFF\xD8\xFF");
}

TEST(PreviewTest, StoredJpegPreviewsReadBackAsPng) {
    Library library(nullptr, 0);
    struct Case {
        Int32 width;
        Int32 height;
    };
    const Case cases[] = {{4, 3}, {1, 1}, {17, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        auto part = partWith({}, library);
        GSPixMapHandle pixels = GXCreateGSPixMap(c.width, c.height, 72.0, 72.0, GSPixelARGB32);
        ASSERT_NE(pixels, nullptr);
        part->setPreviewGif(Image(pixels));
        std::unique_ptr<Image> preview(part->getPreviewImage());
        ASSERT_NE(preview, nullptr);
        const MemoryBlock& png = preview->getData();
        ASSERT_GT(png.size(), 8);
        EXPECT_EQ(std::memcmp(*png.getHandle(), "\x89PNG", 4), 0);
        EXPECT_EQ(preview->getBounds().getEnd().getX(), c.width);
        EXPECT_EQ(preview->getBounds().getEnd().getY(), c.height);
    }
    // A JPEG cut short after its first bytes is no preview.
    auto cut = partWith({{MakeGSType("GIFF"), std::string("image/jpeg\0\xFF\xD8\xFF\xE0", 15)}}, library);
    EXPECT_EQ(cut->getPreviewImage(), nullptr);
}
