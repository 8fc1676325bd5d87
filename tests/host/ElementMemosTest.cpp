#include "sim/ElementMemos.h"
#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "GSRoot/BM.hpp"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

GSHandle handleOf(const std::string& bytes) {
    GSHandle handle = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    std::memcpy(*handle, bytes.data(), bytes.size());
    return handle;
}

} // namespace

namespace {

struct Case {
    const char* label;
    std::string bytes;
};

std::string zeros(std::size_t n) {
    return std::string(n, '\0');
}

void storeCoords(const GS::Guid& guid, const std::string& bytes) {
    API_ElementMemo stored{};
    stored.coords = reinterpret_cast<API_Coord**>(handleOf(bytes));
    ASSERT_EQ(sim::storeMemo(guid, &stored, APIMemoMask_Polygon), NoError);
    ACAPI_DisposeElemMemoHdls(&stored);
}

std::string storedCoords(const GS::Guid& guid) {
    API_ElementMemo memo{};
    EXPECT_EQ(ACAPI_Element_GetMemo(guid, &memo, APIMemoMask_Polygon), NoError);
    std::string bytes;
    if (GSConstHandle got = reinterpret_cast<GSConstHandle>(memo.coords)) {
        bytes.assign(*got, std::size_t(BMGetHandleSize(got)));
    }
    ACAPI_DisposeElemMemoHdls(&memo);
    return bytes;
}

// A new object in a freshly opened project.
GS::Guid openWithObject() {
    sim::openProject();
    API_Element record;
    record.header.typeID = API_ObjectID;
    return sim::addElement(record);
}

} // namespace

TEST(ElementMemosTest, BlocksComeBackByteForByte) {
    const GS::Guid guid = openWithObject();
    const Case cases[] = {
        {"empty", ""},
        {"one byte", "x"},
        {"zeros only", zeros(40)},
        {"short runs of zeros stay", "ab" + zeros(7) + "c" + zeros(1) + "d"},
        {"long runs go", "ab" + zeros(8) + "c" + zeros(300) + "d"},
        {"leading and trailing zeros", zeros(9) + "abc" + zeros(3)},
        {"trailing long run", "a" + zeros(12)},
        {"a last byte after whole words of zeros", zeros(16) + "x"},
        {"last bytes after a whole word", "abcdefgh" + std::string("xyz")},
        {"zeros past the last whole word", "abcdefgh" + zeros(3)},
        {"text of two-byte units", std::string("A\0B\0C\0", 6) + zeros(20) + "x" + zeros(7) + "\xFF\x80"},
        {"a zero at each place of a word",
         [] {
             std::string all;
             for (std::size_t at = 0; at < 16; ++at) {
                 std::string word(15, '\x80');
                 word[at % 15] = '\0';
                 all += word;
             }
             return all;
         }()},
        {"runs of every length up to past four words, at every offset",
         [] {
             std::string all;
             for (std::size_t n = 1; n <= 70; ++n) {
                 all += std::string(n % 9 + 1, 'x') + zeros(n);
             }
             return all + "y";
         }()},
        {"bytes of every value",
         [] {
             std::string all;
             for (int i = 0; i < 256; ++i) {
                 all += char(i);
                 all += std::string(std::size_t(i % 11), '\0');
             }
             return all;
         }()},
    };
    for (const Case& c : cases) {
        API_ElementMemo stored{};
        stored.coords = reinterpret_cast<API_Coord**>(handleOf(c.bytes));
        ASSERT_EQ(sim::storeMemo(guid, &stored, APIMemoMask_Polygon), NoError) << c.label;
        ACAPI_DisposeElemMemoHdls(&stored);

        API_ElementMemo memo{};
        ASSERT_EQ(ACAPI_Element_GetMemo(guid, &memo, APIMemoMask_Polygon), NoError) << c.label;
        ASSERT_NE(memo.coords, nullptr) << c.label;
        GSConstHandle got = reinterpret_cast<GSConstHandle>(memo.coords);
        EXPECT_EQ(std::string(*got, std::size_t(BMGetHandleSize(got))), c.bytes) << c.label;
        ACAPI_DisposeElemMemoHdls(&memo);

        // The copy the host keeps for undo comes back the same.
        GS::Guid other;
        other.Generate();
        sim::copyMemo(guid, other);
        API_ElementMemo kept{};
        ASSERT_EQ(sim::copyMemoOut(other, &kept, APIMemoMask_Polygon), NoError) << c.label;
        GSConstHandle keptBytes = reinterpret_cast<GSConstHandle>(kept.coords);
        EXPECT_EQ(std::string(*keptBytes, std::size_t(BMGetHandleSize(keptBytes))), c.bytes) << c.label;
        ACAPI_DisposeElemMemoHdls(&kept);
        sim::forgetMemo(other);

        // As does the copy the undo journal keeps aside, once the element's memo is gone.
        sim::MemoCopy aside = sim::memoCopy(guid);
        ASSERT_NE(aside, nullptr) << c.label;
        sim::forgetMemo(guid);
        sim::restoreMemo(guid, aside);
        EXPECT_EQ(storedCoords(guid), c.bytes) << c.label;
    }
    sim::restoreMemo(guid, nullptr);
    EXPECT_EQ(sim::memoCopy(guid), nullptr) << "an element without a memo";
}

TEST(ElementMemosTest, ABlockStoredOverAnotherComesBackAsTheNewOne) {
    const GS::Guid guid = openWithObject();
    // Blocks that differ only in where, or how long, their zeros are, in their last byte, or in
    // their length.
    const Case cases[] = {
        {"empty", ""},
        {"one zero", zeros(1)},
        {"zeros", zeros(40)},
        {"more zeros", zeros(41)},
        {"a run of zeros", "ab" + zeros(8) + "c"},
        {"a longer run", "ab" + zeros(9) + "c"},
        {"the run moved", "a" + zeros(8) + "bc"},
        {"the last byte", "ab" + zeros(8) + "d"},
        {"a byte in the run", "ab" + zeros(3) + "x" + zeros(4) + "c"},
        {"trailing zeros", "ab" + zeros(8) + "c" + zeros(16)},
        {"a byte after the zeros", zeros(40) + "x"},
    };
    for (const Case& first : cases) {
        for (const Case& second : cases) {
            storeCoords(guid, first.bytes);
            // A copy set aside (as for undo) keeps the first bytes, shared or not.
            sim::MemoCopy aside = sim::memoCopy(guid);
            storeCoords(guid, second.bytes);
            EXPECT_EQ(storedCoords(guid), second.bytes) << first.label << ", then " << second.label;
            sim::restoreMemo(guid, aside);
            aside = nullptr;
            EXPECT_EQ(storedCoords(guid), first.bytes) << first.label << " set aside, " << second.label;
        }
    }
}

// Each read follows one of the same GUID, which the host answers from the memo it found last:
// whatever took that memo's place, or took it away, is what is read.
TEST(ElementMemosTest, AReadAfterAnotherOfTheSameMemoSeesWhatBecameOfIt) {
    sim::openProject();
    API_Element record;
    record.header.typeID = API_ObjectID;
    const GS::Guid guid = sim::addElement(record);
    record.header.guid.Generate();
    const GS::Guid other = sim::addElement(record);
    auto coordsOf = [](const GS::Guid& of) {
        API_ElementMemo memo{};
        EXPECT_EQ(sim::copyMemoOut(of, &memo, APIMemoMask_Polygon), NoError);
        std::string bytes;
        if (GSConstHandle got = reinterpret_cast<GSConstHandle>(memo.coords)) {
            bytes.assign(*got, std::size_t(BMGetHandleSize(got)));
        }
        ACAPI_DisposeElemMemoHdls(&memo);
        return bytes;
    };

    storeCoords(guid, "first");
    ASSERT_EQ(coordsOf(guid), "first");
    storeCoords(guid, "second");
    EXPECT_EQ(coordsOf(guid), "second") << "stored over";

    sim::moveMemo(guid, other);
    EXPECT_EQ(coordsOf(guid), "") << "moved away";
    EXPECT_EQ(coordsOf(other), "second") << "moved here";

    sim::MemoCopy aside = sim::memoCopy(other);
    sim::forgetMemo(other);
    EXPECT_EQ(coordsOf(other), "") << "forgotten";
    sim::restoreMemo(other, aside);
    EXPECT_EQ(coordsOf(other), "second") << "restored";
    sim::restoreMemo(other, nullptr);
    EXPECT_EQ(coordsOf(other), "") << "restored as none";

    storeCoords(guid, "third");
    ASSERT_EQ(coordsOf(guid), "third");
    // Many more memos, so that the table grows, and the one read last is still the one found.
    for (int i = 0; i < 2000; ++i) {
        record.header.guid.Generate();
        storeCoords(sim::addElement(record), "more");
    }
    EXPECT_EQ(coordsOf(guid), "third") << "after the table grew";

    sim::clearProject();
    sim::openProject();
    EXPECT_EQ(coordsOf(guid), "") << "after the project closed";
}

// Parameter records come back as stored, each array parameter with a new copy of its array and
// every other record's array null, whichever records have arrays; an empty block of records is
// not none.
TEST(ElementMemosTest, ParameterRecordsComeBackWithTheirOwnArrays) {
    const GS::Guid guid = openWithObject();
    struct ParamsCase {
        const char* label;
        std::vector<const char*> arrays; // per record: its array's bytes, null for a real value
    };
    const ParamsCase cases[] = {
        {"no records", {}},
        {"no arrays", {nullptr, nullptr, nullptr}},
        {"an array in the middle", {nullptr, "mid", nullptr}},
        {"arrays only", {"one", "two"}},
        {"an array last", {nullptr, nullptr, "end"}},
    };
    for (const ParamsCase& c : cases) {
        const std::size_t count = c.arrays.size();
        API_ElementMemo stored{};
        stored.params = reinterpret_cast<API_AddParType**>(
            BMAllocateHandle(GSSize(count * sizeof(API_AddParType)), 0, 0));
        ASSERT_NE(stored.params, nullptr) << c.label;
        for (std::size_t i = 0; i < count; ++i) {
            API_AddParType& par = (*stored.params)[i];
            std::memset(static_cast<void*>(&par), 0, sizeof par);
            par.value.real = double(i) + 0.5;
            if (c.arrays[i] != nullptr) {
                par.typeMod = API_ParArray;
                par.value.array = handleOf(c.arrays[i]);
            } else {
                // What a record that owns no array holds there is not given back.
                par.value.array = reinterpret_cast<GSHandle>(&par);
            }
        }
        ASSERT_EQ(sim::storeMemo(guid, &stored, APIMemoMask_AddPars), NoError) << c.label;
        for (std::size_t i = 0; i < count; ++i) {
            if (c.arrays[i] == nullptr) {
                (*stored.params)[i].value.array = nullptr;
            }
        }
        ACAPI_DisposeElemMemoHdls(&stored);

        auto check = [&c, count](const API_ElementMemo& memo, const char* how) {
            ASSERT_NE(memo.params, nullptr) << c.label << how;
            ASSERT_EQ(std::size_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.params))),
                      count * sizeof(API_AddParType))
                << c.label << how;
            for (std::size_t i = 0; i < count; ++i) {
                const API_AddParType& par = (*memo.params)[i];
                EXPECT_EQ(par.value.real, double(i) + 0.5) << c.label << how << i;
                if (c.arrays[i] == nullptr) {
                    EXPECT_EQ(par.value.array, nullptr) << c.label << how << i;
                } else {
                    ASSERT_NE(par.value.array, nullptr) << c.label << how << i;
                    EXPECT_EQ(std::string(*par.value.array, std::size_t(BMGetHandleSize(par.value.array))),
                              c.arrays[i])
                        << c.label << how << i;
                }
            }
        };
        API_ElementMemo memo{};
        ASSERT_EQ(ACAPI_Element_GetMemo(guid, &memo, APIMemoMask_AddPars), NoError) << c.label;
        check(memo, ": read");
        ACAPI_DisposeElemMemoHdls(&memo);

        sim::MemoCopy aside = sim::memoCopy(guid);
        sim::forgetMemo(guid);
        sim::restoreMemo(guid, aside);
        API_ElementMemo restored{};
        ASSERT_EQ(ACAPI_Element_GetMemo(guid, &restored, APIMemoMask_AddPars), NoError) << c.label;
        check(restored, ": set aside and put back");
        ACAPI_DisposeElemMemoHdls(&restored);
    }
}
