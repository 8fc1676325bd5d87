// Arbitrary bytes read through the text stream in any source encoding, and through the legacy
// binary reader in either byte order, by a sequence of reads the input itself chooses. Nothing may
// read outside the input, crash or hang.
#include "Environment/DataBufferIn.h"
#include "Environment/LegacyBinaryIn.h"
#include "Environment/String.h"
#include "Environment/Time.h"

#include <cstdint>
#include <new>

using namespace zelvane;

namespace {

constexpr Encoding::Type sources[] = {Encoding::utf8,
                                      Encoding::utf16,
                                      Encoding::utf16BigEndian,
                                      Encoding::utf32,
                                      Encoding::utf32BigEndian,
                                      11,
                                      32,
                                      33};

void readText(DataBufferIn& in, std::uint8_t const* ops, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        String out;
        int number = 0;
        unsigned int unsignedNumber = 0;
        double real = 0;
        bool flag = false;
        char c = 0;
        switch (ops[i] % 9) {
        case 0:
            in.getLine(out, (ops[i] & 0x10) != 0);
            break;
        case 1:
            in.iterateTo(String("<>\"="), &out, (ops[i] & 0x10) != 0, (ops[i] & 0x20) != 0, false);
            break;
        case 2:
            in.iterateTo(String("-->"), &out, true, (ops[i] & 0x20) != 0, true);
            break;
        case 3:
            in >> number;
            break;
        case 4:
            in >> unsignedNumber >> real;
            break;
        case 5:
            in >> flag;
            break;
        case 6:
            in.getString(out, ops[i] / 9u);
            break;
        case 7:
            in.get(c);
            break;
        default:
            in.skip(ops[i] / 9);
            break;
        }
    }
}

void readLegacy(LegacyBinaryIn& in, std::uint8_t const* ops, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        int number = 0;
        double real = 0;
        short small = 0;
        bool flag = false;
        String text;
        Time time;
        switch (ops[i] % 6) {
        case 0:
            in >> number;
            break;
        case 1:
            in >> real;
            break;
        case 2:
            in >> small >> flag;
            break;
        case 3:
            in >> text;
            break;
        case 4:
            in >> time;
            break;
        default:
            in.setEndianness(Platform::Endianness(1 + ops[i] % 2));
            break;
        }
    }
}

} // namespace

// Layout: one byte of mode, eight bytes of reads, then the data.
extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    constexpr std::size_t header = 9;
    if (size < header || size > (1u << 20)) {
        return 0;
    }
    std::uint8_t mode = data[0];
    std::uint8_t const* ops = data + 1;
    auto const* bytes = reinterpret_cast<char const*>(data + header);
    int length = int(size - header);
    try {
        DataBufferIn in(bytes, length, Encoding::utf8);
        if ((mode & 0x80) != 0) {
            LegacyBinaryIn legacy(&in, Platform::Endianness(1 + (mode & 1)));
            readLegacy(legacy, ops, header - 1);
        } else {
            in.setSourceEncoding(sources[mode % 8]);
            readText(in, ops, header - 1);
        }
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape a read, and none is injected here.
    }
    return 0;
}
