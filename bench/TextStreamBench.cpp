// Reading text through DataBufferIn line by line: a Windows-1252 text decoded into UTF-8, beside
// the same text already in UTF-8. Every benchmark reports MB/s of source text.
#include "Environment/DataBufferIn.h"
#include "Environment/String.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

using namespace zelvane;

namespace {

constexpr Encoding::Type windows1252 = 11;

// Lines of words with accented letters, the euro sign and numbers, in Windows-1252, until the text
// holds about `bytes` bytes.
std::string makeCodePageText(std::size_t bytes) {
    static char const* const lines[] = {
        "Caf\xE9 cr\xE8me br\xFBl\xE9"
        "e, 4,50 \x80\r\n",
        "Fa\xE7"
        "ade \xE9l\xE9vation nord; \xE9tage 3 \x96 b\xE2timent B\r\n",
        "Stra\xDF"
        "e M\xFCller \xC4rger \xD6"
        "fen 1.25 2.50 3.75\r\n",
        "plain ASCII line with some numbers 1234567890 and words\r\n",
    };
    std::string text;
    text.reserve(bytes + 128);
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        text += lines[i % (sizeof(lines) / sizeof(lines[0]))];
    }
    return text;
}

// The same text in UTF-8.
std::string toUTF8(std::string const& latin) {
    std::string text;
    text.reserve(latin.size() * 2);
    for (unsigned char c : latin) {
        if (c == 0x80) {
            text += "\xE2\x82\xAC";
        } else if (c == 0x96) {
            text += "\xE2\x80\x93";
        } else if (c < 0x80) {
            text += char(c);
        } else {
            text += char(0xC0 | (c >> 6));
            text += char(0x80 | (c & 0x3F));
        }
    }
    return text;
}

void readLines(benchmark::State& state, std::string const& text, Encoding::Type source) {
    String line;
    for (auto _ : state) {
        DataBufferIn in(text.data(), int(text.size()), Encoding::utf8);
        in.setSourceEncoding(source);
        std::size_t lines = 0;
        for (;;) {
            line.clear();
            int result = in.getLine(line, false);
            if (result != DataBufferIn::foundDelimiter) {
                if (result != DataBufferIn::reachedEnd) {
                    throw std::runtime_error("text stream failed to decode the text");
                }
                break;
            }
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void CodePageLines(benchmark::State& state) {
    std::string text = makeCodePageText(std::size_t(state.range(0)) << 20);
    readLines(state, text, windows1252);
}

void UTF8Lines(benchmark::State& state) {
    std::string text = toUTF8(makeCodePageText(std::size_t(state.range(0)) << 20));
    readLines(state, text, Encoding::utf8);
}

} // namespace

BENCHMARK(CodePageLines)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(UTF8Lines)->Arg(4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
