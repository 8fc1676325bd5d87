#include "GX/ImageCodecs.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace GX {
namespace codec {
namespace {

constexpr UInt8 pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr double inchesPerMetre = 39.37007874015748;

UInt32 readBE32(const UInt8* p) {
    return UInt32(p[0]) << 24 | UInt32(p[1]) << 16 | UInt32(p[2]) << 8 | p[3];
}
UInt32 readLE32(const UInt8* p) {
    return UInt32(p[3]) << 24 | UInt32(p[2]) << 16 | UInt32(p[1]) << 8 | p[0];
}
UInt16 readLE16(const UInt8* p) {
    return UInt16(p[1] << 8 | p[0]);
}

void putBE32(std::vector<UInt8>& out, UInt32 v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(UInt8(v >> shift));
    }
}
void putLE32(std::vector<UInt8>& out, UInt32 v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(UInt8(v >> shift));
    }
}
void putLE16(std::vector<UInt8>& out, UInt16 v) {
    out.push_back(UInt8(v));
    out.push_back(UInt8(v >> 8));
}

UInt32 crc32(const UInt8* data, std::size_t size, UInt32 crc = 0) {
    static const auto table = [] {
        std::vector<UInt32> t(256);
        for (UInt32 n = 0; n < 256; ++n) {
            UInt32 c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

UInt32 adler32(const std::vector<UInt8>& data) {
    UInt32 a = 1;
    UInt32 b = 0;
    for (UInt8 byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

UInt32 dotsPerMetre(double dpi) {
    return dpi > 0 ? UInt32(std::lround(dpi * inchesPerMetre)) : 0;
}
// Dots per metre are whole numbers: a tenth of a dot per inch is all they keep.
double dotsPerInch(UInt32 perMetre) {
    return std::round(perMetre / inchesPerMetre * 10.0) / 10.0;
}

void putChunk(std::vector<UInt8>& out, const char* type, const std::vector<UInt8>& body) {
    putBE32(out, UInt32(body.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBE32(out, crc32(out.data() + start, out.size() - start));
}

bool encodePNG(const Picture& picture, UInt32 depth, std::vector<UInt8>& out) {
    const std::size_t channels = depth == 32 ? 4 : 3;
    out.assign(pngSignature, pngSignature + 8);
    std::vector<UInt8> header;
    putBE32(header, UInt32(picture.width));
    putBE32(header, UInt32(picture.height));
    header.push_back(8);
    header.push_back(depth == 32 ? 6 : 2);
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    putChunk(out, "IHDR", header);
    std::vector<UInt8> physical;
    putBE32(physical, dotsPerMetre(picture.hRes));
    putBE32(physical, dotsPerMetre(picture.vRes));
    physical.push_back(1);
    putChunk(out, "pHYs", physical);

    std::vector<UInt8> raw;
    raw.reserve(std::size_t(picture.height) * (1 + picture.width * channels));
    for (Int32 y = 0; y < picture.height; ++y) {
        raw.push_back(0); // no filter
        const UInt8* row = picture.pixels.data() + std::size_t(y) * picture.width * 4;
        for (Int32 x = 0; x < picture.width; ++x) {
            raw.insert(raw.end(), row + x * 4, row + x * 4 + channels);
        }
    }
    std::vector<UInt8> zlib{0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        zlib.push_back(pos + n == raw.size() ? 1 : 0);
        putLE16(zlib, UInt16(n));
        putLE16(zlib, UInt16(~n));
        zlib.insert(zlib.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    putBE32(zlib, adler32(raw));
    putChunk(out, "IDAT", zlib);
    putChunk(out, "IEND", {});
    return true;
}

// Only stored blocks: the host reads back what it writes, not general deflate data.
bool inflateStored(const std::vector<UInt8>& zlib, std::vector<UInt8>& raw) {
    if (zlib.size() < 6 || (zlib[0] & 0x0F) != 8 || ((zlib[0] << 8) | zlib[1]) % 31 != 0 ||
        (zlib[1] & 0x20) != 0) {
        return false;
    }
    std::size_t pos = 2;
    for (;;) {
        if (pos + 5 > zlib.size()) {
            return false;
        }
        UInt8 head = zlib[pos];
        if ((head & 0x06) != 0) {
            return false;
        }
        UInt16 len = readLE16(&zlib[pos + 1]);
        UInt16 nlen = readLE16(&zlib[pos + 3]);
        pos += 5;
        if (UInt16(~len) != nlen || pos + len > zlib.size()) {
            return false;
        }
        raw.insert(raw.end(), zlib.begin() + pos, zlib.begin() + pos + len);
        pos += len;
        if ((head & 1) != 0) {
            break;
        }
    }
    return pos + 4 <= zlib.size() && readBE32(&zlib[pos]) == adler32(raw);
}

UInt8 paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a);
    int pb = std::abs(p - b);
    int pc = std::abs(p - c);
    return UInt8(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

bool decodePNG(const UInt8* data, std::size_t size, Picture& picture) {
    if (size < 8 || std::memcmp(data, pngSignature, 8) != 0) {
        return false;
    }
    std::size_t pos = 8;
    bool haveHeader = false;
    bool ended = false;
    std::vector<UInt8> zlib;
    Picture result;
    std::size_t channels = 0;
    while (!ended) {
        if (size - pos < 12) {
            return false;
        }
        UInt32 length = readBE32(data + pos);
        if (length > size - pos - 12) {
            return false;
        }
        const UInt8* type = data + pos + 4;
        const UInt8* body = data + pos + 8;
        if (readBE32(body + length) != crc32(type, length + 4)) {
            return false;
        }
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (haveHeader || length != 13) {
                return false;
            }
            UInt32 w = readBE32(body);
            UInt32 h = readBE32(body + 4);
            if (w == 0 || h == 0 || w > UInt32(maxSide) || h > UInt32(maxSide) || body[8] != 8 ||
                (body[9] != 2 && body[9] != 6) || body[10] != 0 || body[11] != 0 || body[12] != 0) {
                return false;
            }
            result.width = Int32(w);
            result.height = Int32(h);
            result.depth = body[9] == 6 ? 32 : 24;
            channels = body[9] == 6 ? 4 : 3;
            haveHeader = true;
        } else if (!haveHeader) {
            return false;
        } else if (std::memcmp(type, "pHYs", 4) == 0) {
            if (length == 9 && body[8] == 1) {
                result.hRes = dotsPerInch(readBE32(body));
                result.vRes = dotsPerInch(readBE32(body + 4));
            }
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            zlib.insert(zlib.end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            ended = true;
        } else if ((type[0] & 0x20) == 0) {
            return false; // an unknown chunk the decoder must understand
        }
        pos += 12 + length;
    }
    std::vector<UInt8> raw;
    if (!haveHeader || !inflateStored(zlib, raw)) {
        return false;
    }
    const std::size_t stride = std::size_t(result.width) * channels;
    if (raw.size() != std::size_t(result.height) * (stride + 1)) {
        return false;
    }
    std::vector<UInt8> previous(stride, 0);
    result.pixels.assign(std::size_t(result.width) * result.height * 4, 255);
    for (Int32 y = 0; y < result.height; ++y) {
        UInt8* line = raw.data() + std::size_t(y) * (stride + 1);
        UInt8 filter = line[0];
        UInt8* row = line + 1;
        for (std::size_t i = 0; i < stride; ++i) {
            int a = i >= channels ? row[i - channels] : 0;
            int b = previous[i];
            int c = i >= channels ? previous[i - channels] : 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                row[i] = UInt8(row[i] + a);
                break;
            case 2:
                row[i] = UInt8(row[i] + b);
                break;
            case 3:
                row[i] = UInt8(row[i] + (a + b) / 2);
                break;
            case 4:
                row[i] = UInt8(row[i] + paeth(a, b, c));
                break;
            default:
                return false;
            }
        }
        std::copy(row, row + stride, previous.begin());
        UInt8* target = result.pixels.data() + std::size_t(y) * result.width * 4;
        for (Int32 x = 0; x < result.width; ++x) {
            std::memcpy(target + x * 4, row + x * channels, channels);
        }
    }
    picture = std::move(result);
    return true;
}

bool encodeBMP(const Picture& picture, UInt32 depth, std::vector<UInt8>& out) {
    const std::size_t bytes = depth / 8;
    const std::size_t stride = (std::size_t(picture.width) * bytes + 3) / 4 * 4;
    const std::size_t imageSize = stride * picture.height;
    out.clear();
    out.push_back('B');
    out.push_back('M');
    putLE32(out, UInt32(54 + imageSize));
    putLE32(out, 0);
    putLE32(out, 54);
    putLE32(out, 40);
    putLE32(out, UInt32(picture.width));
    putLE32(out, UInt32(picture.height)); // bottom-up
    putLE16(out, 1);
    putLE16(out, UInt16(depth));
    putLE32(out, 0);
    putLE32(out, UInt32(imageSize));
    putLE32(out, dotsPerMetre(picture.hRes));
    putLE32(out, dotsPerMetre(picture.vRes));
    putLE32(out, 0);
    putLE32(out, 0);
    for (Int32 y = picture.height - 1; y >= 0; --y) {
        const UInt8* row = picture.pixels.data() + std::size_t(y) * picture.width * 4;
        std::size_t start = out.size();
        for (Int32 x = 0; x < picture.width; ++x) {
            const UInt8* p = row + x * 4;
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            if (bytes == 4) {
                out.push_back(p[3]);
            }
        }
        out.resize(start + stride, 0);
    }
    return true;
}

bool decodeBMP(const UInt8* data, std::size_t size, Picture& picture) {
    if (size < 54 || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    UInt32 offset = readLE32(data + 10);
    UInt32 headerSize = readLE32(data + 14);
    Int32 width = Int32(readLE32(data + 18));
    Int32 height = Int32(readLE32(data + 22));
    UInt16 planes = readLE16(data + 26);
    UInt16 bits = readLE16(data + 28);
    UInt32 compression = readLE32(data + 30);
    if (headerSize < 40 || planes != 1 || (bits != 24 && bits != 32) || compression != 0 || width <= 0 ||
        width > maxSide || height == 0 || height < -maxSide || height > maxSide) {
        return false;
    }
    const bool topDown = height < 0;
    const Int32 rows = std::abs(height);
    const std::size_t bytes = bits / 8;
    const std::size_t stride = (std::size_t(width) * bytes + 3) / 4 * 4;
    if (offset < 14 + headerSize || offset > size || size - offset < stride * rows) {
        return false;
    }
    Picture result;
    result.width = width;
    result.height = rows;
    result.depth = bits;
    UInt32 h = readLE32(data + 38);
    UInt32 v = readLE32(data + 42);
    if (h != 0 && v != 0) {
        result.hRes = dotsPerInch(h);
        result.vRes = dotsPerInch(v);
    }
    result.pixels.resize(std::size_t(width) * rows * 4);
    for (Int32 y = 0; y < rows; ++y) {
        const UInt8* row = data + offset + stride * (topDown ? y : rows - 1 - y);
        UInt8* target = result.pixels.data() + std::size_t(y) * width * 4;
        for (Int32 x = 0; x < width; ++x) {
            const UInt8* p = row + x * bytes;
            target[x * 4] = p[2];
            target[x * 4 + 1] = p[1];
            target[x * 4 + 2] = p[0];
            target[x * 4 + 3] = bytes == 4 ? p[3] : 255;
        }
    }
    picture = std::move(result);
    return true;
}

} // namespace

FTM::GeneralID detect(const UInt8* data, std::size_t size) {
    if (data == nullptr) {
        return FTM::UnknownImageType;
    }
    if (size >= 8 && std::memcmp(data, pngSignature, 8) == 0) {
        return FTM::PNGImageType;
    }
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        return FTM::BMPImageType;
    }
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return FTM::JPEGImageType;
    }
    return FTM::UnknownImageType;
}

bool decode(FTM::GeneralID type, const UInt8* data, std::size_t size, Picture& picture) {
    if (data == nullptr) {
        return false;
    }
    switch (type) {
    case FTM::PNGImageType:
        return decodePNG(data, size, picture);
    case FTM::BMPImageType:
        return decodeBMP(data, size, picture);
    case FTM::JPEGImageType:
        return decodeJPEG(data, size, picture);
    default:
        return false;
    }
}

bool encode(FTM::GeneralID type, const Picture& picture, UInt32 depth, std::vector<UInt8>& data) {
    if ((depth != 24 && depth != 32) || picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != std::size_t(picture.width) * picture.height * 4) {
        return false;
    }
    switch (type) {
    case FTM::PNGImageType:
        return encodePNG(picture, depth, data);
    case FTM::BMPImageType:
        return encodeBMP(picture, depth, data);
    case FTM::JPEGImageType:
        return encodeJPEG(picture, data);
    default:
        return false;
    }
}

} // namespace codec
} // namespace GX
