// Arbitrary bytes as the handles of host memo records, unpacked into every memo part: polygons
// (description counts, coordinates, contour ends, arcs, vertex IDs, heights), section lines,
// gables, composite skins, layer states and text (content, paragraphs with their run, tab and
// line-end blocks). Nothing may read outside a handle or block; a failed unpack leaves the part
// unloaded and empty; a polygon that unpacks packs again and unpacks to the same shape, and text
// that unpacks packs into a record that unpacks.
#include "Memo/AttributeMemoStore.h"
#include "Memo/ConstructionMemo.h"
#include "Memo/ElementMemoStore.h"
#include "Memo/GableMemo.h"
#include "Memo/LayerMapMemo.h"
#include "Memo/PolygonMemo.h"
#include "Memo/SectionLineMemo.h"
#include "Memo/TextMemo.h"

#include "GSRoot/BM.hpp"

#include "HostMemoryCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

using namespace zelvane;

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Takes fields off the front of the input; past its end everything reads as 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    template <typename T>
    T take() {
        T value{};
        std::size_t n = sizeof(T) < m_size ? sizeof(T) : m_size;
        std::memcpy(&value, m_data, n);
        m_data += n;
        m_size -= n;
        return value;
    }
    // A handle of the next `size` bytes (fewer when the input runs out).
    template <typename T>
    T** handle(std::size_t size) {
        size = size < m_size ? size : m_size;
        GSHandle h = BMAllocateHandle(GSSize(size), 0, 0);
        if (h == nullptr) {
            throw std::bad_alloc();
        }
        if (size != 0) {
            std::memcpy(*h, m_data, size);
        }
        m_data += size;
        m_size -= size;
        return reinterpret_cast<T**>(h);
    }
    template <typename T>
    T* block(std::size_t size) {
        size = size < m_size ? size : m_size;
        GSPtr p = BMAllocatePtr(GSSize(size), 0, 0);
        if (p == nullptr) {
            throw std::bad_alloc();
        }
        if (size != 0) {
            std::memcpy(p, m_data, size);
        }
        m_data += size;
        m_size -= size;
        return reinterpret_cast<T*>(p);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

class PolygonPart : public PolygonMemo {
public:
    void getMemo(UInt64, MemoStore*&) const override {}
    const API_Polygon& getPolyData(const MemoStore&) const override { return description; }
    API_Polygon& getPolyStorage(MemoStore*) const override { return description; }
    mutable API_Polygon description;
};

class SectionPart : public SectionLineMemo {
public:
    void getMemo(UInt64, MemoStore*&) const override {}
    const API_Polygon& getPolyData(const MemoStore&) const override { return description; }
    API_Polygon description;
};

template <typename Part>
class Plain : public Part {
public:
    void getMemo(UInt64, MemoStore*&) const override {}
};

void polygon(Input& in) {
    PolygonPart part;
    part.description.nCoords = in.take<Int16>();
    part.description.nSubPolys = in.take<Int8>();
    part.description.nArcs = in.take<Int8>();
    UInt8 present = in.take<UInt8>();
    ElementMemoStore store;
    API_ElementMemo& record = *store.getTarget();
    record.coords = in.handle<API_Coord>(in.take<UInt8>() * sizeof(API_Coord));
    if (present & 1) {
        record.pends = in.handle<Int32>(in.take<UInt8>() % 16 * sizeof(Int32));
    }
    if (present & 2) {
        record.parcs = in.handle<API_PolyArc>(in.take<UInt8>() % 16 * sizeof(API_PolyArc));
    }
    if (present & 4) {
        record.vertexIDs = in.handle<UInt32>(in.take<UInt8>() * sizeof(UInt32));
    }
    if (present & 8) {
        record.meshPolyZ = in.handle<double>(in.take<UInt8>() * sizeof(double));
    }
    if (!part.unpack(store)) {
        if (part.isLoaded() || part.getPolygon() != nullptr) {
            fault("a failed polygon unpack kept a polygon");
        }
        return;
    }
    if (!part.isValid()) {
        return;
    }
    int vertices = part.getPolygon()->getVertexCount(false);
    ElementMemoStore packed;
    if (!part.pack(&packed)) {
        fault("an unpacked valid polygon did not pack");
    }
    PolygonPart again;
    again.description = part.description;
    if (!again.unpack(packed) || again.getPolygon()->getVertexCount(false) != vertices) {
        fault("a packed polygon unpacked to another shape");
    }
}

void sectionLine(Input& in) {
    SectionPart part;
    part.description.nCoords = in.take<Int16>();
    ElementMemoStore store;
    if (in.take<UInt8>() & 1) {
        store.getTarget()->sectionLineCoords = in.block<API_Coord>(in.take<UInt8>() * sizeof(API_Coord));
    }
    if (!part.unpack(store) && (part.isLoaded() || part.getPolygon() != nullptr)) {
        fault("a failed section-line unpack kept a polygon");
    }
}

void others(Input& in) {
    ElementMemoStore store;
    store.getTarget()->gables = in.handle<API_Gable>(in.take<UInt16>() % 1024);
    Plain<GableMemo> gables;
    gables.unpack(store);
    if (gables.getGableCount() !=
        BMGetHandleSize(reinterpret_cast<GSHandle>(store.getTarget()->gables)) / 96) {
        fault("gables other than the whole records of the handle");
    }

    AttributeMemoStore attributes;
    attributes.getRecord()->cwall_compItems = in.handle<API_CWallComponent>(in.take<UInt8>());
    attributes.getRecord()->cwall_compLItems = in.handle<API_CWallLineComponent>(in.take<UInt8>());
    attributes.getRecord()->layer_statItems = in.handle<API_LayerStat>(in.take<UInt8>());
    Plain<ConstructionMemo> construction;
    if (construction.unpack(attributes) && construction.getEdgeCount() != construction.getCoreCount() + 1) {
        fault("a composite unpacked without a line more than its skins");
    }
    Plain<LayerMapMemo> layers;
    layers.unpack(attributes);
}

void text(Input& in) {
    ElementMemoStore store;
    API_ElementMemo& record = *store.getTarget();
    record.textContent = in.handle<char>(in.take<UInt8>());
    int paragraphs = in.take<UInt8>() % 6;
    record.paragraphs = reinterpret_cast<API_ParagraphType**>(
        BMAllocateHandle(GSSize(paragraphs * sizeof(API_ParagraphType)), ALLOCATE_CLEAR, 0));
    if (record.paragraphs == nullptr) {
        throw std::bad_alloc();
    }
    for (int i = 0; i < paragraphs; ++i) {
        // Set one by one: the record is the store's to dispose whatever happens next.
        API_ParagraphType& paragraph = (*record.paragraphs)[i];
        paragraph.from = in.take<Int16>();
        paragraph.range = in.take<Int16>();
        paragraph.just = in.take<Int8>();
        paragraph.numOfTabs = in.take<Int8>();
        paragraph.tab = in.block<API_TabType>(in.take<UInt8>() % 5 * sizeof(API_TabType));
        paragraph.numOfRuns = in.take<Int8>();
        paragraph.run = in.block<API_RunType>(in.take<UInt8>() % 9 * sizeof(API_RunType));
        paragraph.numOfEOLs = in.take<Int8>();
        paragraph.eolPos = in.block<Int32>(in.take<UInt8>() % 9 * sizeof(Int32));
    }
    Plain<TextMemo> part;
    if (!part.unpack(store)) {
        if (part.isLoaded()) {
            fault("a failed text unpack was loaded");
        }
        return;
    }
    ElementMemoStore packed;
    if (part.pack(&packed)) {
        Plain<TextMemo> again;
        // Content that is not valid UTF-8 may come back cut to whole characters, so only the
        // unpack itself is checked.
        if (!again.unpack(packed)) {
            fault("packed text did not unpack");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 16)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    try {
        Input in(data, size);
        switch (in.take<UInt8>() % 4) {
        case 0:
            polygon(in);
            break;
        case 1:
            sectionLine(in);
            break;
        case 2:
            others(in);
            break;
        default:
            text(in);
            break;
        }
    } catch (const std::bad_alloc&) {
        // Only host memory failures may escape, and none is injected here.
    }
    checkHostMemory(start);
    return 0;
}
