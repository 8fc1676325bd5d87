#include "Environment/BooleanSetting.h"
#include "Environment/Int32Setting.h"
#include "Environment/LengthSetting.h"
#include "Environment/StringSetting.h"
#include "GSRoot/BM.hpp"
#include "Library/AngleParameter.h"
#include "Library/BooleanParameter.h"
#include "Library/IntegerParameter.h"
#include "Library/LengthParameter.h"
#include "Library/LongParameter.h"
#include "Library/MakeParameter.h"
#include "Library/ParameterList.h"
#include "Library/PenParameter.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"
#include "Library/TitleParameter.h"
#include "sim/Library.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

// A list read from the default parameters of a part holding the given parameters.
ParameterList readBack(const std::vector<sim::LibParameter>& parameters, bool* ok = nullptr) {
    sim::LibPartDef def;
    def.name = "Part";
    def.parameters = parameters;
    Int32 index = sim::addLibPart(def);
    API_AddParType** records = nullptr;
    EXPECT_EQ(ACAPI_LibPart_GetParams(index, nullptr, nullptr, nullptr, &records), NoError);
    ParameterList list;
    bool done = list.unpackParameter(records);
    if (ok != nullptr) {
        *ok = done;
    }
    ACAPI_DisposeAddParHdl(&records);
    return list;
}

// The list packed into a handle and read again.
ParameterList roundTrip(const ParameterList& list) {
    API_AddParType** records = nullptr;
    EXPECT_TRUE(list.packParameter(records));
    ParameterList back;
    EXPECT_TRUE(back.unpackParameter(records));
    ACAPI_DisposeAddParHdl(&records);
    return back;
}

std::string text(const Parameter& p, std::size_t row = 0, std::size_t column = 0) {
    return p.getValueText(row, column).data();
}

} // namespace

TEST(ParameterRecordTest, EveryKindTravelsThroughHostHandles) {
    struct Case {
        sim::LibParameter record;
        Int32 typeID;
        const char* text;
    };
    const Case cases[] = {
        {sim::scalarParameter(APIParT_Integer, "i", -7.9), 1, "-7"},
        {sim::scalarParameter(APIParT_Length, "A", 1.25), 2, "1.25"},
        {sim::scalarParameter(APIParT_Angle, "ang", 90), 3, "90"},
        {sim::scalarParameter(APIParT_RealNum, "r", 0.5), 4, "0.5"},
        {sim::scalarParameter(APIParT_LightSw, "on", 1), 5, "1"},
        {sim::scalarParameter(APIParT_ColRGB, "col", 3), 6, "3"},
        {sim::scalarParameter(APIParT_Intens, "int", 40), 7, "40"},
        {sim::scalarParameter(APIParT_LineTyp, "line", 2), 8, "2"},
        {sim::scalarParameter(APIParT_Mater, "mat", 12), 9, "12"},
        {sim::scalarParameter(APIParT_FillPat, "fill", 65), 10, "65"},
        {sim::scalarParameter(APIParT_PenCol, "pen", 1), 11, "1"},
        {sim::textParameter("s", "Oak — ß"), 12, "Oak — ß"},
        {sim::scalarParameter(APIParT_Boolean, "b", std::nan("")), 13, "1"},
        {sim::scalarParameter(APIParT_Separator, "sep", 0), 14, ""},
        {sim::scalarParameter(APIParT_Title, "title", 0), 15, ""},
        {sim::numberArray(APIParT_Length, "lengths", 2, 3, {1, 2, 3, 4, 5, 6}), 2, "1"},
        {sim::numberArray(APIParT_Integer, "row", 0, 3, {7, 8, 9}), 1, "7"},
        {sim::textArray("names", 2, 1, {"x", "yy"}), 12, "x"},
    };
    std::vector<sim::LibParameter> all;
    for (const Case& c : cases) {
        all.push_back(c.record);
    }
    ParameterList list = readBack(all);
    ASSERT_EQ(list.size(), std::size(cases));
    ParameterList back = roundTrip(list);
    ASSERT_EQ(back.size(), list.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Parameter& p = *list.getParameter(i);
        SCOPED_TRACE(p.getName().data());
        EXPECT_EQ(p.getTypeID(), cases[i].typeID);
        EXPECT_EQ(text(p), cases[i].text);
        EXPECT_TRUE(p == *back.getParameter(i));
        EXPECT_EQ(p.getName(), back.getParameter(i)->getName());
    }
    const Parameter& lengths = *list.getParameter("lengths");
    EXPECT_EQ(lengths.getRowCount(), 2u);
    EXPECT_EQ(lengths.getColumnCount(), 3u);
    EXPECT_EQ(text(lengths, 1, 2), "6");
    const Parameter& row = *list.getParameter("row");
    EXPECT_EQ(row.getRowCount(), 1u);
    EXPECT_EQ(text(row, 0, 2), "9");
    EXPECT_EQ(text(*list.getParameter("names"), 1), "yy");
}

TEST(ParameterRecordTest, PackedRecordsHoldZerosWhereNoParameterWrites) {
    ParameterList list =
        readBack({sim::scalarParameter(APIParT_Length, "A", 1.25), sim::textParameter("s", "Oak")});
    ASSERT_EQ(list.size(), 2u);
    // A block of the records' size freed full of other bytes, where the packed records may go.
    GSHandle used = BMAllocateHandle(GSSize(2 * sizeof(API_AddParType)), 0, 0);
    ASSERT_NE(used, nullptr);
    std::memset(*used, 0x7F, 2 * sizeof(API_AddParType));
    BMKillHandle(&used);
    API_AddParType** records = nullptr;
    ASSERT_TRUE(list.packParameter(records));
    const API_AddParType& length = (*records)[0];
    const API_AddParType& text = (*records)[1];
    auto zeros = [](const void* from, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(from);
        return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
    };
    EXPECT_TRUE(zeros(length.name + 2, sizeof length.name - 2)) << "after the name";
    EXPECT_TRUE(zeros(length.value.uStr, sizeof length.value.uStr)) << "a number's text";
    EXPECT_TRUE(zeros(text.value.uStr + 4, sizeof text.value.uStr - 4 * sizeof(GS::UniChar)))
        << "after the text";
    ACAPI_DisposeAddParHdl(&records);
}

TEST(ParameterRecordTest, OneDimensionalArraysKeepTheirShape) {
    ParameterList list = readBack({sim::numberArray(APIParT_RealNum, "v", 3, 0, {1, 2, 3})});
    const Parameter& v = *list.getParameter(0);
    EXPECT_TRUE(v.isArray());
    EXPECT_EQ(v.getRowCount(), 3u);
    EXPECT_EQ(v.getColumnCount(), 1u);
    API_AddParType record;
    ASSERT_TRUE(v.getParameterData(record));
    EXPECT_EQ(record.typeMod, API_ParArray);
    EXPECT_EQ(record.dim1, 3);
    EXPECT_EQ(record.dim2, 0);
    EXPECT_EQ(getHandleSize(record.value.array), int(3 * sizeof(double)));
    disposeHandle(&record.value.array);
}

TEST(ParameterRecordTest, ArraysReadOnlyWhatTheHandleHolds) {
    // Numbers the handle lacks take the default; texts end with the handle, also without a NUL.
    sim::LibParameter numbers = sim::numberArray(APIParT_Integer, "n", 2, 2, {5, 6});
    sim::LibParameter texts = sim::textArray("t", 3, 1, {"first"});
    texts.arrayBytes.push_back('s');
    texts.arrayBytes.push_back(0); // a last text "s" without its 0 unit
    ParameterList list = readBack({numbers, texts});
    ASSERT_EQ(list.size(), 2u);
    const Parameter& n = *list.getParameter(0);
    EXPECT_EQ(n.getRowCount(), 2u);
    EXPECT_EQ(text(n, 0, 1), "6");
    EXPECT_EQ(text(n, 1, 1), "0");
    const Parameter& t = *list.getParameter(1);
    EXPECT_EQ(t.getRowCount(), 3u);
    EXPECT_EQ(text(t, 0), "first");
    EXPECT_EQ(text(t, 1), "s");
    EXPECT_EQ(text(t, 2), "");

    struct Bad {
        const char* what;
        sim::LibParameter record;
    };
    sim::LibParameter badMod = sim::scalarParameter(APIParT_Integer, "m", 1);
    badMod.record.typeMod = 1;
    sim::LibParameter negative = sim::numberArray(APIParT_RealNum, "neg", -1, 2, {});
    sim::LibParameter huge = sim::numberArray(APIParT_RealNum, "huge", 1 << 16, 1 << 16, {});
    sim::LibParameter badType = sim::scalarParameter(99, "x", 1);
    const Bad bad[] = {{"type modifier", badMod}, {"negative", negative}, {"huge", huge}, {"type", badType}};
    for (const Bad& b : bad) {
        bool ok = true;
        ParameterList broken = readBack({sim::scalarParameter(APIParT_Integer, "fine", 1), b.record}, &ok);
        EXPECT_FALSE(ok) << b.what;
        EXPECT_EQ(broken.size(), 0u) << b.what;
    }
    API_AddParType noHandle{};
    noHandle.typeID = APIParT_RealNum;
    noHandle.typeMod = API_ParArray;
    EXPECT_EQ(MakeParameter()(noHandle), nullptr);
}

TEST(ParameterRecordTest, FixedFieldsTakeAtMostTheirSize) {
    std::string longName(40, 'n');
    std::string longText(300, 'x');
    longText.replace(254, 2, "é"); // two bytes, one unit, at the cut
    StringParameter p(longName.c_str(), longText.c_str(), String(longText.c_str()));
    API_AddParType record;
    ASSERT_TRUE(p.getParameterData(record));
    EXPECT_EQ(strnlen(record.name, sizeof record.name), 31u);
    EXPECT_EQ(record.uDescname[255], 0);
    EXPECT_EQ(record.value.uStr[255], 0);
    EXPECT_EQ(record.value.uStr[254], u'é');
    std::unique_ptr<Parameter> back(MakeParameter()(record));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getName().size(), 31u);
    EXPECT_EQ(back->getValueText().size(), 255u);

    API_ChangeParamType request;
    ASSERT_TRUE(p.getParameterData(request, 0, 0));
    EXPECT_EQ(request.uStrValue[255], 0);
    EXPECT_EQ(request.name[31], 0);
    EXPECT_EQ(request.ind1, 0);
    StringParameter table("t", "", String("v"), 0, 2, 3);
    ASSERT_TRUE(table.getParameterData(request, 1, 2));
    EXPECT_EQ(request.ind1, 2);
    EXPECT_EQ(request.ind2, 3);
    EXPECT_FALSE(table.getParameterData(request, 2, 0));
    LengthParameter length("A", "", 2.5);
    ASSERT_TRUE(length.getParameterData(request, 0, 0));
    EXPECT_EQ(request.realValue, 2.5);
}

TEST(ParameterRecordTest, NamesReadFromRecordsAreEachRecordsOwn) {
    API_AddParType record;
    ASSERT_TRUE(LengthParameter("A", "", 1.0).getParameterData(record));
    std::unique_ptr<Parameter> first(MakeParameter()(record));
    // A name held already is read again without a new host block.
    std::size_t allocations = sim::memoryStats().allocations;
    std::unique_ptr<Parameter> second(MakeParameter()(record));
    EXPECT_EQ(sim::memoryStats().allocations, allocations);
    second->setName(String("B"));
    EXPECT_EQ(first->getName(), String("A"));
    first.reset();
    EXPECT_EQ(std::unique_ptr<Parameter>(MakeParameter()(record))->getName(), String("A"));

    // Many names, every other one dropped at once: read again, each is its record's.
    std::vector<std::unique_ptr<Parameter>> held;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 600; ++i) {
            std::string name = "p" + std::to_string(i);
            std::memset(record.name, 0, sizeof record.name);
            std::memcpy(record.name, name.data(), name.size());
            std::unique_ptr<Parameter> read(MakeParameter()(record));
            ASSERT_EQ(read->getName(), String(name.c_str()));
            if (i % 2 == 1) {
                held.push_back(std::move(read));
            }
        }
    }
    // No terminator: the name is what the field can keep, the same once written back. A character
    // cut by the field's end is left out; stray bytes are kept.
    const std::pair<const char*, std::size_t> tails[] = {{"nn", 31},
                                                         {"\xc3\xa9", 30},
                                                         {"\xc3\xa9n", 31},
                                                         {"\xd8\xd8", 31},
                                                         {"\xd8\xd8\xd8\xd8\xd8\xd8\xd8", 31}};
    for (auto [tail, bytes] : tails) {
        std::memset(record.name, 'n', sizeof record.name);
        std::memcpy(record.name + sizeof record.name - std::strlen(tail), tail, std::strlen(tail));
        std::unique_ptr<Parameter> read(MakeParameter()(record));
        EXPECT_EQ(std::strlen(read->getName().data()), bytes) << tail;
        API_AddParType written;
        ASSERT_TRUE(read->getParameterData(written)) << tail;
        EXPECT_EQ(std::unique_ptr<Parameter>(MakeParameter()(written))->getName(), read->getName()) << tail;
    }
}

TEST(ParameterRecordTest, TextForms) {
    struct Case {
        std::unique_ptr<Parameter> parameter;
        const char* in;
        const char* out;
    };
    Case cases[] = {
        {std::make_unique<IntegerParameter>("i", "", short(0)), "70000", "4464"}, // low 16 bits
        {std::make_unique<IntegerParameter>("i", "", short(0)), "12abc", "12"},
        {std::make_unique<RealParameter>("r", "", 0.0), "1234567.8", "1.23457e+06"},
        {std::make_unique<BooleanParameter>("b", "", false), "0", "0"},
        {std::make_unique<BooleanParameter>("b", "", false), "", "1"},
        {std::make_unique<StringParameter>("s", "", String()), "any text", "any text"},
        {std::make_unique<TitleParameter>(), "ignored", ""},
    };
    for (Case& c : cases) {
        c.parameter->setValueText(c.in);
        EXPECT_EQ(text(*c.parameter), c.out) << c.in;
    }
    LengthParameter table("t", "", 1.0, 0, 2, 1);
    EXPECT_THROW(table.getValueText(2, 0), std::out_of_range);
    EXPECT_EQ(table.getRowCount(), 2u); // reading never grows it
}

TEST(ParameterRecordTest, SettingsReadWithoutGrowingAndWriteGrowing) {
    LengthParameter length("A", "", 1.5, 0, 2, 1);
    std::unique_ptr<Setting> cell(length.getSetting(1, 0));
    ASSERT_NE(dynamic_cast<LengthSetting*>(cell.get()), nullptr);
    std::unique_ptr<Setting> past(length.getSetting(5, 0));
    double value = -1;
    past->getValue(value);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(length.getRowCount(), 2u);

    EXPECT_TRUE(length.setSetting(LengthSetting(4.0), 3, 1));
    EXPECT_EQ(length.getRowCount(), 4u);
    EXPECT_EQ(length.getColumnCount(), 2u);
    EXPECT_EQ(text(length, 3, 1), "4");
    EXPECT_EQ(text(length, 1, 0), "1.5");

    IntegerParameter scalar("i", "", short(1));
    EXPECT_TRUE(scalar.setSetting(Int32Setting(0x12345), 0, 0));
    EXPECT_EQ(text(scalar), "9029"); // 0x2345
    // A scalar holds no second row: nothing is stored, and the write says so.
    EXPECT_FALSE(scalar.setSetting(Int32Setting(3), 1, 0));
    EXPECT_EQ(scalar.getRowCount(), 1u);
    EXPECT_EQ(text(scalar), "9029");
    ParameterList list;
    list.addParameter(new IntegerParameter("i", "", short(1)));
    list.addParameter(new TitleParameter());
    list.getParameter(1)->setName("title");
    EXPECT_TRUE(list.setSetting(Int32Setting(4), "I", 0, 0));
    EXPECT_FALSE(list.setSetting(Int32Setting(5), "i", 1, 0));
    EXPECT_EQ(text(*list.getParameter(0)), "4");
    EXPECT_FALSE(list.setSetting(Int32Setting(5), "title"));
    EXPECT_FALSE(list.setSetting(Int32Setting(5), "absent"));
    EXPECT_FALSE(length.setSetting(LengthSetting(std::nan("")), 0, 0)); // reals hold finite values
    EXPECT_EQ(text(length), "1.5");
    EXPECT_EQ(std::unique_ptr<Setting>(TitleParameter().getSetting()), nullptr);
    std::unique_ptr<Setting> flag(BooleanParameter("b", "", true).getSetting());
    EXPECT_NE(dynamic_cast<BooleanSetting*>(flag.get()), nullptr);
}

TEST(ParameterRecordTest, DeltasWriteOnlyChangedCells) {
    LongParameter base("x", "", 0, 0, 2, 2);
    LongParameter changed(base);
    changed.setValue(5, 1, 1);
    changed.setValue(9, 2, 0); // a new row
    LongParameter target("x", "", 7, 0, 3, 2);
    target.applyDelta(changed, base);
    EXPECT_EQ(target.getValue(0, 0), 7);
    EXPECT_EQ(target.getValue(1, 1), 5);
    EXPECT_EQ(target.getValue(2, 0), 9);
    EXPECT_EQ(target.getValue(2, 1), 0); // outside the base: written
    EXPECT_EQ(target.getRowCount(), 3u);

    RealParameter other("x", "", 1.0);
    LongParameter kept("x", "", 3);
    kept.applyDelta(other, other); // another type: nothing
    EXPECT_EQ(kept.getValue(), 3);
    kept.applyDelta(changed, other); // the base changed type: a whole copy
    EXPECT_TRUE(kept == changed);
}

TEST(ParameterRecordTest, ListCopiesAndDeltas) {
    ParameterList source;
    source.addParameter(new LengthParameter("A", "", 2.0));
    source.addParameter(new LengthParameter("len", "", 3.0, 0, 3, 1));
    source.addParameter(new StringParameter("Name", "", String("src")));
    ParameterList target;
    target.addParameter(new LengthParameter("A", "", 1.0));
    target.addParameter(new LengthParameter("len", "", 0.0, 0, 1, 1, true));
    target.addParameter(new StringParameter("name", "", String("kept"))); // case differs
    target.copyFrom(source, true, true, false);
    EXPECT_EQ(text(*target.getParameter(0)), "1");
    EXPECT_EQ(target.getParameter(1)->getRowCount(), 3u);
    EXPECT_EQ(text(*target.getParameter(2)), "kept");

    // One parameter by name, rows past the source's taking the default.
    ParameterList one;
    one.addParameter(new LengthParameter("LEN", "", 9.0, 0, 1, 1, true));
    one.copyFrom(source, "len", 5, ParameterList::npos, true, true);
    const Parameter& len = *one.getParameter(0);
    EXPECT_EQ(len.getRowCount(), 5u);
    EXPECT_EQ(text(len, 2), "3");
    EXPECT_EQ(text(len, 4), "0");
    EXPECT_EQ(source.getParameter(1)->getRowCount(), 3u); // the source did not grow

    ParameterList base;
    base.addParameter(new LongParameter("p", "", 1));
    base.addParameter(new LongParameter("q", "", 1));
    base.addParameter(new LongParameter("t", "", 1));
    ParameterList changed;
    changed.addParameter(new LongParameter("p", "", 2));
    changed.addParameter(new StringParameter("t", "", String("now text")));
    changed.addParameter(new LongParameter("added", "", 4));
    ParameterList third;
    third.addParameter(new LongParameter("q", "", 8));
    third.addParameter(new LongParameter("p", "", 8));
    third.addParameter(new LongParameter("t", "", 8));
    third.applyDelta(changed, base);
    ASSERT_EQ(third.size(), 3u);
    EXPECT_EQ(text(*third.getParameter("p")), "2");
    EXPECT_EQ(third.getParameter("q"), nullptr);
    EXPECT_EQ(third.getParameter("t")->getTypeID(), 12);
    EXPECT_EQ(text(*third.getParameter("added")), "4");
}

TEST(ParameterRecordTest, PackingFailuresLoseNothing) {
    // The records' handle may come in a block freed full of array records naming another handle:
    // whatever fails, no record that was not written is read.
    GSHandle other = BMAllocateHandle(8, 0, 0);
    auto leaveDirtyBlock = [other](std::size_t count) {
        GSHandle used = BMAllocateHandle(GSSize(count * sizeof(API_AddParType)), 0, 0);
        for (std::size_t i = 0; i < count; ++i) {
            API_AddParType record{};
            record.typeMod = API_ParArray;
            record.value.array = other;
            std::memcpy(*used + i * sizeof record, &record, sizeof record);
        }
        BMKillHandle(&used);
    };
    const std::size_t invalidFrees = sim::memoryStats().invalidFrees;
    ParameterList list;
    list.addParameter(new LongParameter("a", "", 1, 0, 2, 2));
    list.addParameter(new StringParameter("s", "", String("x"), 0, 3, 1));
    for (int skip = 0; skip < 3; ++skip) {
        leaveDirtyBlock(2);
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        API_AddParType** records = nullptr;
        EXPECT_THROW(list.packParameter(records), std::bad_alloc) << skip;
        EXPECT_EQ(records, nullptr);
    }
    sim::failNextAllocations(0);
    ParameterList gap;
    gap.addParameter(new LongParameter("a", "", 1, 0, 2, 2));
    gap.addParameter(nullptr);
    gap.addParameter(new LongParameter("b", "", 1, 0, 2, 2));
    leaveDirtyBlock(3);
    API_AddParType** records = nullptr;
    EXPECT_FALSE(gap.packParameter(records));
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(sim::memoryStats().invalidFrees, invalidFrees);
    EXPECT_EQ(BMGetHandleSize(other), 8);
    BMKillHandle(&other);
    API_AddParType** empty = nullptr;
    EXPECT_TRUE(ParameterList().packParameter(empty));
    ParameterList none;
    EXPECT_TRUE(none.unpackParameter(empty));
    ACAPI_DisposeAddParHdl(&empty);

    sim::LibPartDef def;
    def.parameters = {sim::numberArray(APIParT_RealNum, "a", 2, 1, {1, 2}), sim::textArray("t", 1, 1, {"x"})};
    Int32 index = sim::addLibPart(def);
    for (int skip = 0; skip < 3; ++skip) {
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        API_AddParType** records = nullptr;
        EXPECT_EQ(ACAPI_LibPart_GetParams(index, nullptr, nullptr, nullptr, &records), APIERR_MEMFULL);
        EXPECT_EQ(records, nullptr);
    }
}
