#include "Interface/Image.h"

#include "Environment/DataFile.h"
#include "Environment/String.h"
#include "GSRoot/BM.hpp"
#include "GX/GXImage.hpp"
#include "sim/Files.h"
#include "sim/Images.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

using zelvane::DataFile;
using zelvane::Image;
using zelvane::MemoryBlock;
using zelvane::ScreenPoint;
using zelvane::ScreenRect;
using zelvane::String;

namespace {

using Pixel = std::array<UInt8, 4>;

// A pixel map whose pixel (x, y) is pixelAt(x, y).
Pixel pixelAt(Int32 x, Int32 y) {
    return {UInt8(10 * x), UInt8(20 * y), UInt8(x + y), UInt8(200 + x)};
}

GSPixMapHandle makePixMap(Int32 width, Int32 height, GSPixelType type = GSPixelARGB32, double dpi = 96.0) {
    GSPixMapHandle map = GXCreateGSPixMap(width, height, dpi, dpi, type);
    UInt8* p = GXGetGSPixMapPixels(map);
    for (Int32 y = 0; y < height; ++y) {
        for (Int32 x = 0; x < width; ++x) {
            Pixel pixel = pixelAt(x, y);
            if (type == GSPixelRGB24) {
                pixel[3] = 255;
            }
            std::memcpy(p + (y * width + x) * 4, pixel.data(), 4);
        }
    }
    return map;
}

Pixel pixelOf(GSPixMapHandle map, Int32 x, Int32 y) {
    Pixel pixel;
    std::memcpy(pixel.data(), GXGetGSPixMapPixels(map) + (y * GXGetGSPixMapWidth(map) + x) * 4, 4);
    return pixel;
}

std::vector<UInt8> bytesOf(MemoryBlock const& block) {
    if (block.size() == 0) {
        return {};
    }
    const UInt8* p = reinterpret_cast<const UInt8*>(*block.getHandle());
    return std::vector<UInt8>(p, p + block.size());
}

MemoryBlock blockOf(std::vector<UInt8> const& bytes) {
    return MemoryBlock(bytes.data(), int(bytes.size()));
}

bool isPNG(MemoryBlock const& block) {
    std::vector<UInt8> bytes = bytesOf(block);
    return bytes.size() > 8 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
}

bool isBMP(MemoryBlock const& block) {
    std::vector<UInt8> bytes = bytesOf(block);
    return bytes.size() > 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

UInt32 crc32Of(const UInt8* data, std::size_t size) {
    UInt32 crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    return ~crc;
}

void putBE32(std::vector<UInt8>& out, UInt32 v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(UInt8(v >> shift));
    }
}

void putChunk(std::vector<UInt8>& out, const char* type, const std::vector<UInt8>& body) {
    putBE32(out, UInt32(body.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBE32(out, crc32Of(out.data() + start, out.size() - start));
}

// An RGBA PNG of pixelAt() whose row y is stored with filter filters[y], in one stored deflate
// block.
std::vector<UInt8> filteredPNG(Int32 width, std::vector<UInt8> const& filters) {
    const Int32 height = Int32(filters.size());
    const std::size_t stride = std::size_t(width) * 4;
    std::vector<UInt8> raw;
    std::vector<UInt8> previous(stride, 0);
    for (Int32 y = 0; y < height; ++y) {
        std::vector<UInt8> row;
        for (Int32 x = 0; x < width; ++x) {
            Pixel p = pixelAt(x, y);
            row.insert(row.end(), p.begin(), p.end());
        }
        raw.push_back(filters[y]);
        for (std::size_t i = 0; i < stride; ++i) {
            int a = i >= 4 ? row[i - 4] : 0;
            int b = previous[i];
            int c = i >= 4 ? previous[i - 4] : 0;
            int predictor = 0;
            switch (filters[y]) {
            case 1:
                predictor = a;
                break;
            case 2:
                predictor = b;
                break;
            case 3:
                predictor = (a + b) / 2;
                break;
            case 4: {
                int e = a + b - c;
                int pa = std::abs(e - a), pb = std::abs(e - b), pc = std::abs(e - c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                break;
            }
            default:
                break;
            }
            raw.push_back(UInt8(row[i] - predictor));
        }
        previous = row;
    }
    std::vector<UInt8> zlib{0x78,
                            0x01,
                            0x01,
                            UInt8(raw.size()),
                            UInt8(raw.size() >> 8),
                            UInt8(~raw.size()),
                            UInt8(~raw.size() >> 8)};
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    UInt32 a = 1, b = 0;
    for (UInt8 byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBE32(zlib, b << 16 | a);
    std::vector<UInt8> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<UInt8> header;
    putBE32(header, UInt32(width));
    putBE32(header, UInt32(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});
    return png;
}

String tempPath(const char* name) {
    return String((sim::specialFolder("Temp") / name).string().c_str());
}

} // namespace

TEST(ImageTest, ResourceImages) {
    sim::addResourceImage(32510, 16, 12);
    sim::addResourceIcon(32511, 32, 32);

    Image resource(32510);
    EXPECT_FALSE(resource.isEmpty());
    EXPECT_EQ(resource.getData().size(), 0);
    EXPECT_EQ(resource.getPixelMap(), nullptr);
    EXPECT_EQ(resource.getBounds(), ScreenRect());
    DG::Image dialogImage = resource;
    EXPECT_FALSE(dialogImage.IsEmpty());
    EXPECT_EQ(dialogImage.GetWidth(), 16u);
    EXPECT_EQ(resource.getDialogImage().GetResourceId(), 32510);
    EXPECT_FALSE(resource.getDialogImage().IsEmpty());

    Image icon{DG::Icon(32511)};
    EXPECT_EQ(icon.getResourceId(), 32511);
    DG::Icon hostIcon = icon;
    EXPECT_FALSE(hostIcon.IsEmpty());
    EXPECT_EQ(hostIcon.GetHeight(), 32u);

    // A resource ID the file lacks still makes a resource image, whose host picture is empty.
    Image missing(DG::Image(int16_t(900)));
    EXPECT_FALSE(missing.isEmpty());
    EXPECT_TRUE(DG::Image(missing).IsEmpty());
}

TEST(ImageTest, NoPictureGivesNeutralAnswers) {
    Image image;
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.getData().size(), 0);
    EXPECT_EQ(image.getData(FTM::BMPImageType).size(), 0);
    EXPECT_EQ(image.getPixelMap(), nullptr);
    EXPECT_TRUE(image.getDialogImage().IsEmpty());
    EXPECT_TRUE(DG::Image(image).IsEmpty());
    EXPECT_TRUE(DG::Icon(image).IsEmpty());
    EXPECT_EQ(image.getHorizontalResolution(), 0.0);
    EXPECT_EQ(image.getColourDepth(), 0u);
    EXPECT_EQ(image.getBounds(), ScreenRect());
    image.setHorizontalResolution(300, true);
    EXPECT_FALSE(image.resize(ScreenRect(ScreenPoint(0, 0), ScreenPoint(10, 10)), true));
    DataFile file(tempPath("none.png"), DataFile::readWrite, false);
    EXPECT_FALSE(image.writeTo(file));
    EXPECT_FALSE(image.writeTo(file, "image/png", 32));
    EXPECT_FALSE(std::filesystem::exists(sim::specialFolder("Temp") / "none.png"));
}

TEST(ImageTest, EncodedRoundTrips) {
    struct Case {
        FTM::GeneralID type;
        GSPixelType pixelType;
        UInt32 depth;
    };
    const Case cases[] = {
        {FTM::PNGImageType, GSPixelARGB32, 32},
        {FTM::PNGImageType, GSPixelRGB24, 24},
        {FTM::BMPImageType, GSPixelARGB32, 32},
        {FTM::BMPImageType, GSPixelRGB24, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " depth " << c.depth);
        Image source(makePixMap(5, 3, c.pixelType, 150.0));
        EXPECT_FALSE(source.isEmpty());
        EXPECT_EQ(source.getColourDepth(), c.depth);
        MemoryBlock const& encoded = source.getData(c.type);
        ASSERT_GT(encoded.size(), 0);
        EXPECT_EQ(c.type == FTM::PNGImageType, isPNG(encoded));

        Image decoded(encoded);
        EXPECT_FALSE(decoded.isEmpty());
        EXPECT_EQ(decoded.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(5, 3)));
        EXPECT_EQ(decoded.getColourDepth(), c.depth);
        EXPECT_EQ(decoded.getHorizontalResolution(), 150.0);
        EXPECT_EQ(decoded.getVerticalResolution(), 150.0);
        EXPECT_EQ(bytesOf(decoded.getData()), bytesOf(encoded));
        GSPixMapHandle map = decoded.getPixelMap();
        ASSERT_NE(map, nullptr);
        EXPECT_EQ(decoded.getPixelMap(), map); // made once
        for (Int32 y = 0; y < 3; ++y) {
            for (Int32 x = 0; x < 5; ++x) {
                Pixel expected = pixelAt(x, y);
                if (c.depth == 24) {
                    expected[3] = 255;
                }
                EXPECT_EQ(pixelOf(map, x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(ImageTest, JPEGRoundTripsCloseToItsPixels) {
    struct Case {
        GSPixelType pixelType;
        double dpi;
    };
    const Case cases[] = {{GSPixelARGB32, 150.0}, {GSPixelRGB24, 72.0}, {GSPixelARGB32, 300.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pixels " << c.pixelType << " dpi " << c.dpi);
        Image source(makePixMap(5, 3, c.pixelType, c.dpi));
        MemoryBlock const& encoded = source.getData(FTM::JPEGImageType);
        std::vector<UInt8> bytes = bytesOf(encoded);
        ASSERT_GT(bytes.size(), 3u);
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xD8);

        Image decoded(encoded);
        ASSERT_FALSE(decoded.isEmpty());
        EXPECT_EQ(decoded.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(5, 3)));
        EXPECT_EQ(decoded.getColourDepth(), 24u);
        EXPECT_EQ(decoded.getHorizontalResolution(), c.dpi);
        EXPECT_EQ(decoded.getVerticalResolution(), c.dpi);
        GSPixMapHandle map = decoded.getPixelMap();
        ASSERT_NE(map, nullptr);
        for (Int32 y = 0; y < 3; ++y) {
            for (Int32 x = 0; x < 5; ++x) {
                Pixel expected = pixelAt(x, y);
                Pixel got = pixelOf(map, x, y);
                for (int channel = 0; channel < 3; ++channel) {
                    EXPECT_NEAR(got[channel], expected[channel], 16)
                        << x << "," << y << " channel " << channel;
                }
                EXPECT_EQ(got[3], 255);
            }
        }
    }
}

TEST(ImageTest, DataKeepsItsFirstEncoding) {
    Image image(makePixMap(4, 4));
    EXPECT_TRUE(isPNG(image.getData()));
    EXPECT_TRUE(isPNG(image.getData(FTM::BMPImageType)));

    Image other(makePixMap(4, 4));
    EXPECT_TRUE(isBMP(other.getData(FTM::BMPImageType)));
    EXPECT_TRUE(isBMP(other.getData(FTM::PNGImageType)));

    // A negative type is the image's own.
    Image third(makePixMap(2, 2));
    EXPECT_TRUE(isPNG(third.getData(-7)));

    // The host failing to encode leaves the data empty, to be tried again.
    Image failing(makePixMap(2, 2));
    sim::failCall("GX::Image::WriteToHandle", ErrIO);
    EXPECT_EQ(failing.getData().size(), 0);
    EXPECT_TRUE(isPNG(failing.getData()));
}

TEST(ImageTest, BlocksAreTakenOrCopied) {
    std::vector<UInt8> png = bytesOf(Image(makePixMap(3, 3)).getData());

    MemoryBlock taken = blockOf(png);
    Image fromTaken(taken, true);
    EXPECT_EQ(taken.size(), 0);
    EXPECT_EQ(bytesOf(fromTaken.getData()), png);

    MemoryBlock kept = blockOf(png);
    Image fromCopy(kept, false);
    EXPECT_EQ(bytesOf(kept), png);
    EXPECT_NE(fromCopy.getData().getHandle(), kept.getHandle());
    EXPECT_FALSE(fromCopy.isEmpty());
}

TEST(ImageTest, DataTheHostCannotReadIsKept) {
    std::vector<UInt8> png = bytesOf(Image(makePixMap(3, 3)).getData());
    std::vector<UInt8> badCrc = png;
    badCrc[20] ^= 0xFF;
    std::vector<UInt8> truncated(png.begin(), png.begin() + png.size() / 2);
    std::vector<UInt8> bmpHuge = bytesOf(Image(makePixMap(2, 2)).getData(FTM::BMPImageType));
    bmpHuge[22] = 0xFF; // height far beyond the bytes
    bmpHuge[23] = 0x3F;
    std::vector<UInt8> jpeg = bytesOf(Image(makePixMap(4, 4)).getData(FTM::JPEGImageType));
    std::vector<UInt8> jpegHead(jpeg.begin(), jpeg.begin() + 20);
    // The frame header's height and width (two bytes each, high first) set to these.
    auto withSize = [&jpeg](UInt8 high, UInt8 low) {
        std::vector<UInt8> changed = jpeg;
        for (std::size_t i = 0; i + 8 < changed.size(); ++i) {
            if (changed[i] == 0xFF && changed[i + 1] == 0xC0) {
                changed[i + 5] = changed[i + 7] = high;
                changed[i + 6] = changed[i + 8] = low;
                break;
            }
        }
        return changed;
    };
    std::vector<UInt8> jpegNoWidth = withSize(0, 0);
    std::vector<UInt8> jpegHuge = withSize(0x3E, 0x80); // 16000 x 16000 from a few hundred bytes
    const std::vector<std::vector<UInt8>> inputs = {
        {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'},
        badCrc,
        truncated,
        bmpHuge,
        {'B', 'M'},
        {0xFF, 0xD8, 0xFF},
        jpegHead,
        jpegNoWidth,
        jpegHuge};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(i);
        Image image(blockOf(inputs[i]));
        EXPECT_TRUE(image.isEmpty());
        EXPECT_EQ(bytesOf(image.getData()), inputs[i]);
        EXPECT_EQ(image.getPixelMap(), nullptr);
        EXPECT_EQ(image.getBounds(), ScreenRect());
        EXPECT_TRUE(image.getDialogImage().IsEmpty());
    }
}

TEST(ImageTest, DialogImageOfData) {
    Image image(makePixMap(6, 2));
    image.getData();
    DG::Image picture = image.getDialogImage();
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.GetResourceId(), -1);
    EXPECT_EQ(picture.GetWidth(), 6u);
    EXPECT_EQ(picture.GetHeight(), 2u);
    ASSERT_NE(picture.GetPicture(), nullptr);
}

TEST(ImageTest, CopiesShareThePictureButNotThePixelMap) {
    Image original(makePixMap(3, 2));
    original.getData();
    original.setHorizontalResolution(200, true);
    Image copy(original);
    EXPECT_EQ(bytesOf(copy.getData()), bytesOf(original.getData()));
    EXPECT_NE(copy.getData().getHandle(), original.getData().getHandle());
    EXPECT_EQ(copy.getBounds(), original.getBounds());
    EXPECT_EQ(copy.getHorizontalResolution(), 200.0);
    ASSERT_NE(copy.getPixelMap(), nullptr);
    EXPECT_NE(copy.getPixelMap(), original.getPixelMap());

    std::unique_ptr<Image> clone(original.clone());
    EXPECT_EQ(clone->getBounds(), original.getBounds());

    Image assigned(int16_t(7));
    assigned = original;
    EXPECT_EQ(assigned.getResourceId(), -1);
    EXPECT_EQ(bytesOf(assigned.getData()), bytesOf(original.getData()));
    assigned = assigned;
    EXPECT_FALSE(assigned.isEmpty());

    original.clear();
    EXPECT_TRUE(original.isEmpty());
    EXPECT_FALSE(copy.isEmpty());
}

TEST(ImageTest, Resolution) {
    Image image(makePixMap(2, 2, GSPixelARGB32, 72.0));
    image.setHorizontalResolution(300, false);
    EXPECT_EQ(image.getHorizontalResolution(), 300.0);
    EXPECT_EQ(image.getVerticalResolution(), 72.0);
    image.setVerticalResolution(150, false);
    EXPECT_EQ(image.getHorizontalResolution(), 300.0);
    EXPECT_EQ(image.getVerticalResolution(), 150.0);
    image.setVerticalResolution(600, true);
    EXPECT_EQ(image.getHorizontalResolution(), 600.0);
    image.setHorizontalResolution(96, true);
    EXPECT_EQ(image.getVerticalResolution(), 96.0);
    Image decoded(image.getData());
    EXPECT_EQ(decoded.getVerticalResolution(), 96.0);
}

TEST(ImageTest, ResizeScalesThePicture) {
    Image image(makePixMap(100, 50));
    EXPECT_TRUE(image.resize(ScreenRect(ScreenPoint(10, 10), ScreenPoint(50, 50)), true));
    EXPECT_EQ(image.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(40, 20)));
    EXPECT_EQ(image.getColourDepth(), 32u);

    Image stretched(makePixMap(100, 50));
    EXPECT_TRUE(stretched.resize(ScreenRect(ScreenPoint(10, 10), ScreenPoint(50, 50)), false));
    EXPECT_EQ(stretched.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(40, 40)));

    // The pixels are scaled from the map's corner, whatever the rectangle's position.
    Image small(makePixMap(2, 2));
    ASSERT_TRUE(small.resize(ScreenRect(ScreenPoint(300, 300), ScreenPoint(296, 304)), false));
    GSPixMapHandle map = small.getPixelMap();
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(GXGetGSPixMapWidth(map), 4);
    ASSERT_EQ(GXGetGSPixMapHeight(map), 4);
    for (Int32 y = 0; y < 4; ++y) {
        for (Int32 x = 0; x < 4; ++x) {
            EXPECT_EQ(pixelOf(map, x, y), pixelAt(x / 2, y / 2)) << x << "," << y;
        }
    }
    // The new picture is encoded afresh.
    Image decoded(small.getData());
    EXPECT_EQ(decoded.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(4, 4)));
}

TEST(ImageTest, ResizeFailuresLeaveTheImage) {
    Image image(makePixMap(8, 4));
    std::vector<UInt8> before = bytesOf(image.getData());
    const ScreenRect flat[] = {
        ScreenRect(ScreenPoint(5, 5), ScreenPoint(5, 20)),
        ScreenRect(ScreenPoint(5, 5), ScreenPoint(20, 5)),
        ScreenRect(),
    };
    for (const ScreenRect& rect : flat) {
        EXPECT_FALSE(image.resize(rect, true));
        EXPECT_FALSE(image.resize(rect, false));
    }
    // Kept proportions that round down to nothing.
    EXPECT_FALSE(image.resize(ScreenRect(ScreenPoint(0, 0), ScreenPoint(1, 1)), true));

    sim::failCall("GXStretchGSPixMap", ErrParam);
    EXPECT_FALSE(image.resize(ScreenRect(ScreenPoint(0, 0), ScreenPoint(16, 8)), false));
    sim::failCall("GXCreateGSPixMap", ErrMemoryFull);
    EXPECT_FALSE(image.resize(ScreenRect(ScreenPoint(0, 0), ScreenPoint(16, 8)), false));

    EXPECT_EQ(image.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(8, 4)));
    EXPECT_EQ(bytesOf(image.getData()), before);
}

TEST(ImageTest, FilesWrittenAndRead) {
    Image image(makePixMap(7, 5));
    DataFile pngFile(tempPath("picture.png"), DataFile::readWrite, true);
    ASSERT_TRUE(image.writeTo(pngFile));
    Image fromPng(pngFile);
    EXPECT_TRUE(isPNG(fromPng.getData()));
    EXPECT_EQ(fromPng.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(7, 5)));

    DataFile bmpFile(tempPath("picture.bmp"), DataFile::readWrite, true);
    ASSERT_TRUE(image.writeTo(bmpFile, "IMAGE/BMP", 24));
    Image fromBmp(bmpFile);
    EXPECT_TRUE(isBMP(fromBmp.getData()));
    EXPECT_EQ(fromBmp.getColourDepth(), 24u);

    // An unknown MIME text or depth writes nothing.
    DataFile other(tempPath("picture.tif"), DataFile::readWrite, false);
    EXPECT_FALSE(image.writeTo(other, "image/tiff", 32));
    EXPECT_FALSE(image.writeTo(other, "image/png", 8));
    EXPECT_FALSE(std::filesystem::exists(sim::specialFolder("Temp") / "picture.tif"));

    // A failed encoding or write keeps the file as it was.
    const std::uintmax_t size = std::filesystem::file_size(sim::specialFolder("Temp") / "picture.png");
    sim::failCall("GX::Image::WriteToHandle", ErrIO);
    EXPECT_FALSE(image.writeTo(pngFile));
    sim::failWritesAfter(10);
    EXPECT_FALSE(image.writeTo(pngFile, "image/bmp", 24));
    sim::reset();
    EXPECT_EQ(std::filesystem::file_size(sim::specialFolder("Temp") / "picture.png"), size);

    // Unreadable or missing files give an image without data.
    sim::failRead(ErrIO);
    Image unreadable(pngFile);
    EXPECT_TRUE(unreadable.isEmpty());
    EXPECT_EQ(unreadable.getData().size(), 0);
    Image missing(DataFile(tempPath("missing.png"), DataFile::readOnly, false));
    EXPECT_TRUE(missing.isEmpty());
    // A FIFO gives no data, and is read without waiting for a writer.
    const std::filesystem::path fifo = sim::specialFolder("Temp") / "picture.fifo";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(Image(DataFile(tempPath("picture.fifo"), DataFile::readOnly, false)).isEmpty());
    std::filesystem::remove(fifo);
}

TEST(ImageTest, AllocationFailuresLoseNothing) {
    Image encoded(makePixMap(4, 4));
    sim::failNextAllocations(1);
    EXPECT_EQ(encoded.getData().size(), 0);
    EXPECT_TRUE(isPNG(encoded.getData()));

    MemoryBlock data = blockOf(bytesOf(encoded.getData()));
    Image decoded(data);
    sim::failNextAllocations(1);
    EXPECT_EQ(decoded.getPixelMap(), nullptr);
    EXPECT_NE(decoded.getPixelMap(), nullptr);

    sim::failNextAllocations(1);
    EXPECT_THROW(Image{data}, std::bad_alloc);
    EXPECT_GT(data.size(), 0);
}

TEST(ImageTest, FilteredPNGRows) {
    Image image(blockOf(filteredPNG(6, {0, 1, 2, 3, 4, 4, 3, 2, 1})));
    ASSERT_FALSE(image.isEmpty());
    EXPECT_EQ(image.getColourDepth(), 32u);
    EXPECT_EQ(image.getHorizontalResolution(), 72.0); // no resolution in the data
    GSPixMapHandle map = image.getPixelMap();
    ASSERT_NE(map, nullptr);
    for (Int32 y = 0; y < 9; ++y) {
        for (Int32 x = 0; x < 6; ++x) {
            EXPECT_EQ(pixelOf(map, x, y), pixelAt(x, y)) << x << "," << y;
        }
    }
    // An unknown filter type makes the data unreadable.
    EXPECT_TRUE(Image(blockOf(filteredPNG(6, {0, 5}))).isEmpty());
}
