// Reading object-map-like documents into bindings and writing them back, against expat parsing
// and pugixml parsing and saving the same bytes. Every benchmark reports MB/s of document text.
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/Guid.h"
#include "Environment/MemoryBlock.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include "XML/SampleBindings.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

using namespace zelvane;

namespace {

// Entries with attributes, escaped text, CDATA and nested parameter lists, then records keyed by
// GUID, until the document holds about `bytes` bytes.
std::string makeDocument(std::size_t bytes) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<objectMap version=\"3\" "
                       "library=\"Main &amp; Shared Library\">\n\t<entries>\n";
    std::string records = "\t<records>\n";
    char number[64];
    for (unsigned int i = 0; text.size() + records.size() < bytes; ++i) {
        Guid id;
        id.generate();
        String guid = id.toString();
        std::snprintf(number, sizeof(number), "%u", i);
        text += "\t\t<entry sourceName=\"IFC Door &lt;";
        text += number;
        text += "&gt;\" objectType=\"door\" id=\"";
        text += guid.data();
        text += "\">\n\t\t\t<name>Door &amp; Frame ";
        text += number;
        text += " \xC3\xA9tage</name>\n\t\t\t<note><![CDATA[Imported <as is> & kept ";
        text += number;
        text += "]]></note>\n\t\t\t<width>0.9";
        text += number;
        text += "</width>\n\t\t\t<count>";
        text += number;
        text += "</count>\n\t\t\t<flags>4000000000</flags>\n\t\t\t<level>-12</level>\n\t\t\t<size>";
        text += number;
        text += "000000</size>\n\t\t\t<enabled>true</enabled>\n\t\t\t<length>2100.5</length>\n"
                "\t\t\t<price>129.99</price>\n\t\t\t<ratio>0.250000</ratio>\n"
                "\t\t\t<edited>2017-03-05T09:04:00+01:00</edited>\n\t\t\t<params>\n"
                "\t\t\t\t<param name=\"A\" type=\"length\"><value>1.5</value></param>\n"
                "\t\t\t\t<param name=\"Text\" type=\"string\"><value>x &quot;y&quot; &#65;</value></param>\n"
                "\t\t\t</params>\n\t\t</entry>\n";
        if (i % 4 == 0) {
            Guid key;
            key.generate();
            records += "\t\t<record key=\"";
            records += key.toString().data();
            records += "\" amount=\"12.50\">\n\t\t\t<name>Record ";
            records += number;
            records += "</name>\n\t\t\t<day>2017-03-05</day>\n\t\t</record>\n";
        }
    }
    text += "\t</entries>\n";
    text += records;
    text += "\t</records>\n</objectMap>\n";
    return text;
}

std::string const& document(std::size_t megabytes) {
    static std::map<std::size_t, std::string> documents;
    auto found = documents.find(megabytes);
    if (found == documents.end()) {
        found = documents.emplace(megabytes, makeDocument(megabytes << 20)).first;
    }
    return found->second;
}

void setRate(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void readInto(String const& text, sample::ObjectMap& map) {
    DataBufferIn stream(text, 99);
    XMLReader reader(&stream);
    if (!reader.importTo(map)) {
        throw std::runtime_error("the generated document did not read");
    }
}

void ReadAndBind(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    String text(source.data(), static_cast<unsigned int>(source.size()));
    for (auto _ : state) {
        sample::ObjectMap map;
        readInto(text, map);
        benchmark::DoNotOptimize(map.entries.entries.size());
    }
    setRate(state, source.size());
}

// The writer's own work: the stream discards what it is given, as pugixml's writer below does.
void WriteBindings(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    String text(source.data(), static_cast<unsigned int>(source.size()));
    sample::ObjectMap map;
    readInto(text, map);
    String once;
    {
        DataBufferOut stream(&once);
        XMLWriter writer(&stream);
        writer.exportFrom(map, true, true, true, false);
    }
    for (auto _ : state) {
        DataBufferOut stream;
        XMLWriter writer(&stream);
        benchmark::DoNotOptimize(writer.exportFrom(map, true, true, true, false));
    }
    setRate(state, once.dataLength());
}

std::size_t sizeOf(String const& text) {
    return text.dataLength();
}

std::size_t sizeOf(MemoryBlock const& block) {
    return static_cast<std::size_t>(block.size());
}

// Writing into a growing destination: time must grow linearly with the size of the document.
template <typename Destination>
void WriteInto(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    String text(source.data(), static_cast<unsigned int>(source.size()));
    sample::ObjectMap map;
    readInto(text, map);
    std::size_t written = 0;
    for (auto _ : state) {
        Destination destination;
        {
            DataBufferOut stream(&destination);
            XMLWriter writer(&stream);
            benchmark::DoNotOptimize(writer.exportFrom(map, true, true, true, false));
        }
        written = sizeOf(destination);
    }
    setRate(state, written);
}

void WriteToString(benchmark::State& state) {
    WriteInto<String>(state);
}

void WriteToMemoryBlock(benchmark::State& state) {
    WriteInto<MemoryBlock>(state);
}

// The document's bytes alone, streamed in pieces of a line's length into a growing destination:
// what the destination's growth costs, without the writer's work.
template <typename Destination>
void StreamInto(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    std::size_t written = 0;
    for (auto _ : state) {
        Destination destination;
        {
            DataBufferOut stream(&destination);
            for (std::size_t at = 0; at < source.size(); at += 64) {
                stream.write(source.data() + at,
                             static_cast<int>(std::min<std::size_t>(64, source.size() - at)));
            }
        }
        written = sizeOf(destination);
    }
    setRate(state, written);
}

void StreamToString(benchmark::State& state) {
    StreamInto<String>(state);
}

void StreamToMemoryBlock(benchmark::State& state) {
    StreamInto<MemoryBlock>(state);
}

void ExpatParse(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate("UTF-8");
        std::size_t elements = 0;
        XML_SetUserData(parser, &elements);
        XML_SetElementHandler(
            parser, [](void* data, XML_Char const*, XML_Char const**) { ++*static_cast<std::size_t*>(data); },
            [](void*, XML_Char const*) {});
        XML_SetCharacterDataHandler(parser, [](void*, XML_Char const*, int) {});
        if (XML_Parse(parser, source.data(), static_cast<int>(source.size()), 1) != XML_STATUS_OK) {
            state.SkipWithError("expat failed");
        }
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(elements);
    }
    setRate(state, source.size());
}

void PugixmlParse(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_buffer(source.data(), source.size())) {
            state.SkipWithError("pugixml failed");
        }
        benchmark::DoNotOptimize(doc.first_child());
    }
    setRate(state, source.size());
}

struct CountingWriter : pugi::xml_writer {
    void write(void const* data, std::size_t size) override {
        benchmark::DoNotOptimize(data);
        bytes += size;
    }
    std::size_t bytes = 0;
};

void PugixmlSave(benchmark::State& state) {
    std::string const& source = document(static_cast<std::size_t>(state.range(0)));
    pugi::xml_document doc;
    doc.load_buffer(source.data(), source.size());
    std::size_t written = 0;
    for (auto _ : state) {
        CountingWriter writer;
        doc.save(writer, "\t");
        written = writer.bytes;
    }
    setRate(state, written);
}

} // namespace

BENCHMARK(ReadAndBind)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(ExpatParse)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlParse)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBindings)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteToString)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteToMemoryBlock)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(StreamToString)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(StreamToMemoryBlock)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlSave)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
