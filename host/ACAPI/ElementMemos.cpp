#include "sim/ElementMemos.h"
#include "sim/GuidTable.h"

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/ElementRequests.h"
#include "sim/ElementTable.h"
#include "sim/PackedBytes.h"
#include "sim/Sim.h"

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

using Bytes = sim::PackedBytes;

struct Paragraph {
    API_ParagraphType record;
    Bytes tabs, runs, eols;
};

// Copies of memo parts, kept as plain bytes so that no host memory stays live between calls.
struct Saved {
    std::map<int, Bytes> blocks; // by field number; absent: null
    bool hasParams = false;      // false: null
    Bytes params;                // the parameter records
    // The array of each parameter record; empty when none has one (most elements), so that a copy
    // of the memo makes no list of them.
    std::vector<std::optional<Bytes>> paramArrays;
    std::vector<Paragraph> paragraphs;
    sim::MemoSizes sizes; // of the parameter records, read when they are kept
};

using Memos = sim::GuidTable<Saved>; // the memos of elements by GUID

struct State {
    Memos elements;
    std::map<std::pair<API_ElemTypeID, API_ElemVariationID>, Saved> defaults;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

// Counts the removals of elements' memos (and every reset and clearing), never going back: a hint
// kept with an element holds while the count is what it was when the hint was made.
UInt64& removals() {
    static UInt64 count = 1;
    return count;
}

const bool registered = sim::registerReset([] {
                            ++removals();
                            state() = State();
                        }) &&
                        sim::registerProjectClear([] {
                            ++removals();
                            state().elements.clear();
                        });

// The element's memo, found by the hint kept with the element when that holds; else searched for
// and the hint made anew (when there is an element to keep it).
Saved* heldMemo(const GS::Guid& guid) {
    sim::ElementHint* hint = sim::memoHint(guid);
    if (hint != nullptr && hint->at != nullptr && hint->epoch == removals() && hint->guid == guid) {
        return static_cast<Saved*>(const_cast<void*>(hint->at));
    }
    Saved* found = state().elements.find(guid);
    if (hint != nullptr && found != nullptr) {
        *hint = sim::ElementHint{found, guid, removals()};
    }
    return found;
}

// The element's memo, made empty when it has none.
Saved& madeMemo(const GS::Guid& guid) {
    if (Saved* held = heldMemo(guid)) {
        return *held;
    }
    Saved& made = state().elements[guid];
    if (sim::ElementHint* hint = sim::memoHint(guid)) {
        *hint = sim::ElementHint{&made, guid, removals()};
    }
    return made;
}

void forgetMemoOf(const GS::Guid& guid) {
    ++removals();
    state().elements.erase(guid);
}

enum Kind { handle, pointer };

// A marker's second line block is kept under a bit of its own, reached through markerMask only.
constexpr UInt64 markerSecondLine = 1ull << 62;

// Every member of the memo record but the parameters and paragraphs, with its mask bit.
template <typename F>
void eachField(API_ElementMemo& m, F f) {
    auto h = [](auto& member) -> void** { return reinterpret_cast<void**>(&member); };
    int n = 0;
    f(n++, APIMemoMask_Polygon, h(m.coords), handle);
    f(n++, APIMemoMask_Polygon, h(m.pends), handle);
    f(n++, APIMemoMask_Polygon, h(m.parcs), handle);
    f(n++, APIMemoMask_Polygon, h(m.vertexIDs), handle);
    f(n++, APIMemoMask_Gables, h(m.gables), handle);
    f(n++, APIMemoMask_EdgeTrims, h(m.roofSides), handle);
    f(n++, APIMemoMask_MeshPolyZ, h(m.meshPolyZ), handle);
    f(n++, APIMemoMask_MeshLevel, h(m.meshLevelCoords), handle);
    f(n++, APIMemoMask_MeshLevel, h(m.meshLevelEnds), handle);
    f(n++, APIMemoMask_DimElems, h(m.dimElems), handle);
    f(n++, APIMemoMask_BezierDirs, h(m.bezierDirs), handle);
    f(n++, APIMemoMask_TextContent, h(m.textContent), handle);
    f(n++, APIMemoMask_TextContent, h(m.textLineStarts), handle);
    f(n++, APIMemoMask_BeamHole, h(m.beamHoles), handle);
    f(n++, APIMemoMask_LinkList, h(m.linkList), handle);
    f(n++, APIMemoMask_Picture, h(m.pictHdl), handle);
    f(n++, APIMemoMask_DrawingData, h(m.drawingData), handle);
    f(n++, APIMemoMask_SectionSegments, h(m.sectionLineCoords), pointer);
    f(n++, APIMemoMask_CWallSegments, h(m.cWSegContour), pointer);
    f(n++, APIMemoMask_CWallSegments, h(m.cWallSegments), handle);
    f(n++, APIMemoMask_CWallFrames, h(m.cWallFrames), handle);
    f(n++, APIMemoMask_CWallPanels, h(m.cWallPanels), handle);
    f(n++, APIMemoMask_CWallJunctions, h(m.cWallJunctions), handle);
    f(n++, APIMemoMask_CWallAccessories, h(m.cWallAccessories), handle);
    f(n++, APIMemoMask_CWallSegments, h(m.cWSegGridMesh), handle);
    f(n++, APIMemoMask_CWallSegments, h(m.cWSegPrimaryPattern), handle);
    f(n++, APIMemoMask_CWallSegments, h(m.cWSegSecondaryPattern), handle);
    f(n++, APIMemoMask_CWallSegments, h(m.cWSegPanelPattern), handle);
    f(n++, APIMemoMask_RoofEdgeTypes, h(m.roofEdgeTypes), handle);
    f(n++, APIMemoMask_SideMaterials, h(m.sideMaterials), handle);
    f(n++, APIMemoMask_AdditionalPolygon, h(m.additionalPolyCoords), handle);
    f(n++, APIMemoMask_AdditionalPolygon, h(m.additionalPolyPends), handle);
    f(n++, APIMemoMask_AdditionalPolygon, h(m.additionalPolyParcs), handle);
    f(n++, APIMemoMask_AdditionalPolygon, h(m.additionalPolyVertexIDs), handle);
    f(n++, APIMemoMask_AdditionalPolygon, h(m.additionalPolyEdges), handle);
    f(n++, APIMemoMask_ShellShapes, h(m.shellShapes), handle);
    f(n++, APIMemoMask_ShellShapes, h(m.shellContours), handle);
    f(n++, APIMemoMask_MorphBody, h(m.morphBody), handle);
    f(n++, APIMemoMask_MorphBody, h(m.morphMaterialMapTable), handle);
    f(n++, APIMemoMask_WallWindows, h(m.wallWindows), handle);
    f(n++, APIMemoMask_WallDoors, h(m.wallDoors), handle);
    f(n++, markerSecondLine, h(m.sectionSecondLineCoords), pointer);
}

// The bits of every member eachField passes: a mask without any of them (most reads and changes
// ask for the parameters only) needs no pass over the members.
UInt64 fieldBits() {
    static const UInt64 bits = [] {
        API_ElementMemo memo{};
        UInt64 all = 0;
        eachField(memo, [&all](int, UInt64 bit, void**, Kind) { all |= bit; });
        return all;
    }();
    return bits;
}

Bytes handleBytes(GSConstHandle h) {
    return Bytes(*h, std::size_t(BMGetHandleSize(h)));
}

Bytes pointerBytes(GSConstPtr p) {
    return Bytes(p, std::size_t(BMGetPtrSize(p)));
}

GSHandle newHandle(const Bytes& bytes) {
    GSHandle h = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    if (h != nullptr) {
        bytes.copyTo(*h);
    }
    return h;
}

GSPtr newPointer(const Bytes& bytes) {
    GSPtr p = BMAllocatePtr(GSSize(bytes.size()), 0, 0);
    if (p != nullptr) {
        bytes.copyTo(p);
    }
    return p;
}

template <typename T>
std::size_t countOf(T** h) {
    return std::size_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(h))) / sizeof(T);
}

// Keeps the bytes as the block of that field; a block that holds them already stays as it is.
void keep(Saved& saved, int field, const char* bytes, std::size_t size) {
    auto it = saved.blocks.find(field);
    if (it == saved.blocks.end()) {
        saved.blocks.emplace(field, Bytes(bytes, size));
    } else {
        it->second.assign(bytes, size);
    }
}

// The sizes the records give, the last record of each name counting.
sim::MemoSizes sizesOf(const API_AddParType* records, std::size_t count) {
    sim::MemoSizes sizes;
    for (std::size_t i = 0; i < count; ++i) {
        const API_AddParType& record = records[i];
        auto named = [&record](const char* name) {
            return std::strncmp(record.name, name, sizeof record.name) == 0;
        };
        if (named("A")) {
            sizes.a = record.value.real;
        } else if (named("B")) {
            sizes.b = record.value.real;
        } else if (named("ZZYZX")) {
            sizes.z = record.value.real;
        }
    }
    return sizes;
}

void save(Saved& saved, const API_ElementMemo& memo, UInt64 mask) {
    if ((mask & fieldBits()) != 0) {
        API_ElementMemo& source = const_cast<API_ElementMemo&>(memo); // read only
        eachField(source, [&](int n, UInt64 bit, void** slot, Kind kind) {
            if ((mask & bit) == 0) {
                return;
            }
            if (*slot == nullptr) {
                saved.blocks.erase(n);
            } else if (kind == handle) {
                auto h = static_cast<GSConstHandle>(*slot);
                keep(saved, n, *h, std::size_t(BMGetHandleSize(h)));
            } else {
                auto p = static_cast<GSConstPtr>(*slot);
                keep(saved, n, p, std::size_t(BMGetPtrSize(p)));
            }
        });
    }
    if ((mask & APIMemoMask_AddPars) != 0) {
        saved.paramArrays.clear();
        saved.sizes = sim::MemoSizes();
        if (memo.params == nullptr) {
            saved.hasParams = false;
            saved.params = Bytes();
        } else {
            auto h = reinterpret_cast<GSConstHandle>(memo.params);
            const std::size_t size = std::size_t(BMGetHandleSize(h));
            const std::size_t count = size / sizeof(API_AddParType);
            saved.sizes = sizesOf(*memo.params, count);
            saved.params.assign(*h, size);
            saved.hasParams = true;
            // Only array parameters own their handle.
            auto arrayOf = [&memo](std::size_t i) {
                const API_AddParType& par = (*memo.params)[i];
                return par.typeMod == API_ParArray ? par.value.array : nullptr;
            };
            std::size_t first = 0;
            while (first < count && arrayOf(first) == nullptr) {
                ++first;
            }
            if (first < count) {
                saved.paramArrays.reserve(count);
                for (std::size_t i = 0; i < count; ++i) {
                    GSHandle array = arrayOf(i);
                    saved.paramArrays.push_back(array != nullptr ? std::optional<Bytes>(handleBytes(array))
                                                                 : std::nullopt);
                }
            }
        }
    }
    if ((mask & APIMemoMask_Paragraph) != 0) {
        saved.paragraphs.clear();
        if (memo.paragraphs != nullptr) {
            const std::size_t count = countOf(memo.paragraphs);
            for (std::size_t i = 0; i < count; ++i) {
                const API_ParagraphType& p = (*memo.paragraphs)[i];
                Paragraph copy{p, {}, {}, {}};
                if (p.tab != nullptr) {
                    copy.tabs = pointerBytes(reinterpret_cast<GSConstPtr>(p.tab));
                }
                if (p.run != nullptr) {
                    copy.runs = pointerBytes(reinterpret_cast<GSConstPtr>(p.run));
                }
                if (p.eolPos != nullptr) {
                    copy.eols = pointerBytes(reinterpret_cast<GSConstPtr>(p.eolPos));
                }
                saved.paragraphs.push_back(copy);
            }
        }
    }
}

// Fills the memo's parts of the mask with new copies; on a failed allocation what was made stays
// in the memo, for the caller to dispose.
GSErrCode restore(const Saved& saved, API_ElementMemo& memo, UInt64 mask) {
    bool failed = false;
    if ((mask & fieldBits()) != 0) {
        eachField(memo, [&](int n, UInt64 bit, void** slot, Kind kind) {
            if (failed || (mask & bit) == 0) {
                return; // most reads ask for a few parts: the others are not looked for
            }
            auto it = saved.blocks.find(n);
            if (it == saved.blocks.end()) {
                return;
            }
            *slot = kind == handle ? static_cast<void*>(newHandle(it->second))
                                   : static_cast<void*>(newPointer(it->second));
            failed = *slot == nullptr;
        });
    }
    if (failed) {
        return APIERR_MEMFULL;
    }
    if ((mask & APIMemoMask_AddPars) != 0 && saved.hasParams) {
        GSHandle h = newHandle(saved.params);
        if (h == nullptr) {
            return APIERR_MEMFULL;
        }
        memo.params = reinterpret_cast<API_AddParType**>(h);
        const std::size_t count = saved.params.size() / sizeof(API_AddParType);
        for (std::size_t i = 0; i < count; ++i) {
            (*memo.params)[i].value.array = nullptr;
        }
        for (std::size_t i = 0; i < saved.paramArrays.size(); ++i) {
            if (saved.paramArrays[i]) {
                GSHandle array = newHandle(*saved.paramArrays[i]);
                if (array == nullptr) {
                    return APIERR_MEMFULL;
                }
                (*memo.params)[i].value.array = array;
            }
        }
    }
    if ((mask & APIMemoMask_Paragraph) != 0 && !saved.paragraphs.empty()) {
        GSHandle h = BMAllocateHandle(GSSize(saved.paragraphs.size() * sizeof(API_ParagraphType)), 0, 0);
        if (h == nullptr) {
            return APIERR_MEMFULL;
        }
        memo.paragraphs = reinterpret_cast<API_ParagraphType**>(h);
        for (std::size_t i = 0; i < saved.paragraphs.size(); ++i) {
            API_ParagraphType& p = (*memo.paragraphs)[i];
            p = saved.paragraphs[i].record;
            p.tab = nullptr;
            p.run = nullptr;
            p.eolPos = nullptr;
        }
        for (std::size_t i = 0; i < saved.paragraphs.size(); ++i) {
            API_ParagraphType& p = (*memo.paragraphs)[i];
            const Paragraph& from = saved.paragraphs[i];
            if ((!from.tabs.empty() &&
                 (p.tab = reinterpret_cast<API_TabType*>(newPointer(from.tabs))) == nullptr) ||
                (!from.runs.empty() &&
                 (p.run = reinterpret_cast<API_RunType*>(newPointer(from.runs))) == nullptr) ||
                (!from.eols.empty() &&
                 (p.eolPos = reinterpret_cast<Int32*>(newPointer(from.eols))) == nullptr)) {
                return APIERR_MEMFULL;
            }
        }
    }
    return NoError;
}

// A marker keeps its line in the section-line block and its second line in a block of its own;
// it reads both with the polygon bit and writes them with these two.
constexpr UInt64 markerLineWritten = 0x4000;
constexpr UInt64 markerSecondLineWritten = 0x8000;

bool isMarker(const GS::Guid& guid) {
    const API_Element* element = sim::findElement(guid);
    return element != nullptr &&
           (element->header.typeID == API_CutPlaneID || element->header.typeID == API_ElevationID);
}

// The stored blocks a marker's mask names, the other parts unchanged.
UInt64 markerMask(const GS::Guid& guid, UInt64 mask, bool writing) {
    if (!isMarker(guid)) {
        return mask;
    }
    const UInt64 lineBits = APIMemoMask_Polygon | APIMemoMask_SectionSegments | markerLineWritten |
                            markerSecondLineWritten | markerSecondLine;
    UInt64 blocks = 0;
    if (writing) {
        blocks = ((mask & markerLineWritten) != 0 ? APIMemoMask_SectionSegments : 0) |
                 ((mask & markerSecondLineWritten) != 0 ? markerSecondLine : 0);
    } else if ((mask & APIMemoMask_Polygon) != 0) {
        blocks = APIMemoMask_SectionSegments | markerSecondLine;
    }
    return (mask & ~lineBits) | blocks;
}

} // namespace

namespace sim {

GSErrCode copyMemoOut(const GS::Guid& guid, API_ElementMemo* memo, UInt64 mask) {
    if (memo == nullptr) {
        return APIERR_BADPARS;
    }
    mask = markerMask(guid, mask, false);
    const Saved* saved = heldMemo(guid);
    return saved == nullptr ? NoError : restore(*saved, *memo, mask);
}

GSErrCode storeMemo(const GS::Guid& guid, const API_ElementMemo* memo, UInt64 mask) {
    if (memo == nullptr) {
        return APIERR_BADPARS;
    }
    mask = markerMask(guid, mask, true);
    save(madeMemo(guid), *memo, mask);
    if (memo->elemInfoString != nullptr) {
        setElementInfoString(guid, memo->elemInfoString->ToUTF8());
    }
    return NoError;
}

void moveMemo(const GS::Guid& from, const GS::Guid& to) {
    if (Saved* found = state().elements.find(from)) {
        Saved saved = std::move(*found);
        forgetMemoOf(from);
        state().elements[to] = std::move(saved);
    }
}

void copyMemo(const GS::Guid& from, const GS::Guid& to) {
    if (const Saved* found = state().elements.find(from)) {
        Saved saved = *found;
        state().elements[to] = std::move(saved);
    }
}

void forgetMemo(const GS::Guid& guid) {
    forgetMemoOf(guid);
}

struct StoredMemo {
    Saved saved;
};

MemoCopy memoCopy(const GS::Guid& guid) {
    const Saved* saved = heldMemo(guid);
    return saved == nullptr ? nullptr : std::make_shared<const StoredMemo>(StoredMemo{*saved});
}

void restoreMemo(const GS::Guid& guid, const MemoCopy& copy) {
    if (copy == nullptr) {
        forgetMemoOf(guid);
    } else {
        state().elements[guid] = copy->saved;
    }
}

GSErrCode copyDefaultMemoOut(API_ElemTypeID type, API_ElemVariationID variation, API_ElementMemo* memo) {
    if (memo == nullptr) {
        return APIERR_BADPARS;
    }
    auto it = state().defaults.find({type, variation});
    return it == state().defaults.end() ? NoError
                                        : restore(it->second, *memo, APIMemoMask_All | markerSecondLine);
}

GSErrCode storeDefaultMemo(API_ElemTypeID type, API_ElemVariationID variation, const API_ElementMemo* memo) {
    if (memo == nullptr) {
        return APIERR_BADPARS;
    }
    save(state().defaults[{type, variation}], *memo, APIMemoMask_All | markerSecondLine);
    return NoError;
}

namespace {

// The parameters of the memo that `copyOut` hands out, its error (where asked) kept.
template <typename CopyOut>
std::vector<LibParameter> parametersOf(CopyOut copyOut, GSErrCode* error) {
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    std::vector<LibParameter> parameters;
    GSErrCode err = copyOut(memo);
    if (err == NoError && memo.params != nullptr) {
        readParameterRecords(memo.params, parameters);
    }
    ACAPI_DisposeElemMemoHdls(&memo);
    if (error != nullptr) {
        *error = err;
    }
    return parameters;
}

} // namespace

std::vector<LibParameter> memoParameters(const GS::Guid& guid, GSErrCode* error) {
    return parametersOf([&](API_ElementMemo& memo) { return copyMemoOut(guid, &memo, APIMemoMask_AddPars); },
                        error);
}

MemoSizes memoSizes(const GS::Guid& guid) {
    const Saved* saved = heldMemo(guid);
    return saved == nullptr ? MemoSizes() : saved->sizes;
}

std::vector<LibParameter> defaultMemoParameters(API_ElemTypeID type, API_ElemVariationID variation,
                                                GSErrCode* error) {
    return parametersOf([&](API_ElementMemo& memo) { return copyDefaultMemoOut(type, variation, &memo); },
                        error);
}

} // namespace sim
