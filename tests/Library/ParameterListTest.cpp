#include "Library/ParameterList.h"
#include "Environment/Memory.h"
#include "Library/IntegerParameter.h"
#include "Library/LengthParameter.h"
#include "Library/LongParameter.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"
#include "Library/TitleParameter.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

using namespace zelvane;

namespace {

ParameterList threeParameters() {
    ParameterList list;
    list.addParameter(new LongParameter("count", "", 12));
    list.addParameter(new RealParameter("width", "", 0.9));
    list.addParameter(new StringParameter("ZZYZX", "", String("tall")));
    return list;
}

std::string nameAt(const ParameterList& list, std::size_t i) {
    return list.getParameter(i)->getName().data();
}

// Everything a parameter list holds, as text: classes, headings, shapes and cells.
std::string describe(const ParameterList& list) {
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Parameter* p = list.getParameter(i);
        if (p == nullptr) {
            out += "null\n";
            continue;
        }
        out += std::string(typeid(*p).name()) + " " + p->getName().data() + " \"" +
               p->getDescription().data() + "\" flags " + std::to_string(p->getFlags()) + " index " +
               std::to_string(p->getIndex()) + (p->isArray() ? " array " : " scalar ") +
               std::to_string(p->getHostColumns()) + " " + std::to_string(p->getRowCount()) + "x" +
               std::to_string(p->getColumnCount()) + ":";
        for (std::size_t r = 0; r < p->getRowCount(); ++r) {
            for (std::size_t c = 0; c < p->getColumnCount(); ++c) {
                out += std::string(" ") + p->getValueText(r, c).data();
            }
        }
        out += "\n";
    }
    return out;
}

template <typename P, typename V>
P* made(const char* name, V value, const char* description = "", Int16 flags = 0, Int16 index = 0,
        std::size_t rows = 1, std::size_t columns = 1) {
    auto* p = new P(name, description, value, flags, rows, columns);
    p->setIndex(index);
    return p;
}

Parameter* title(const char* name, const char* description, Int16 flags) {
    auto* p = new TitleParameter(std::size_t(0), false);
    p->setName(name);
    p->setDescription(description);
    p->setFlags(flags);
    return p;
}

// A real array read from a record of second dimension 0, as the host gives a one-dimensional one.
Parameter* oneDimensional(const char* name, std::vector<double> cells) {
    API_AddParType record{};
    record.typeID = APIParT_RealNum;
    record.typeMod = API_ParArray;
    std::strcpy(record.name, name);
    record.dim1 = Int32(cells.size());
    record.value.array = allocateHandle(int(cells.size() * sizeof(double)));
    std::memcpy(*record.value.array, cells.data(), cells.size() * sizeof(double));
    auto* p = new RealParameter(record);
    disposeHandle(&record.value.array);
    return p;
}

} // namespace

TEST(ParameterListTest, TakeDefaultsGivesDefaultsCopiedOverWithTheValuesHeld) {
    using Make = std::function<void(ParameterList&)>;
    struct Case {
        const char* what;
        Make current;
        Make defaults;
    };
    const std::vector<Case> cases = {
        {"the same parameters: values and sizes kept",
         [](ParameterList& l) {
             l.addParameter(made<LengthParameter>("A", 2.5));
             l.addParameter(made<LengthParameter>("B", 3.5));
             l.addParameter(made<LengthParameter>("ZZYZX", 4.5));
             l.addParameter(made<IntegerParameter>("legs", short(6)));
         },
         [](ParameterList& l) {
             l.addParameter(made<LengthParameter>("A", 1.0, "Width", 1, 3));
             l.addParameter(made<LengthParameter>("B", 1.0, "Depth", 2, 4));
             l.addParameter(made<LengthParameter>("ZZYZX", 1.0, "", 0, 5));
             l.addParameter(made<IntegerParameter>("legs", short(4), "Legs", 8, 6));
         }},
        {"other order, other classes, absent and added",
         [](ParameterList& l) {
             l.addParameter(made<StringParameter>("gone", String("x")));
             l.addParameter(made<RealParameter>("A", 2.5)); // a real, not a length
             l.addParameter(made<LongParameter>("count", 7));
             l.addParameter(made<StringParameter>("label", String("mine"), "Old text", 4));
         },
         [](ParameterList& l) {
             l.addParameter(made<StringParameter>("label", String("theirs"), "New text", 1, 2));
             l.addParameter(made<LengthParameter>("A", 1.0));
             l.addParameter(made<LongParameter>("added", 3));
             l.addParameter(made<LongParameter>("count", 1));
         }},
        {"shapes: rows follow the values, columns must agree",
         [](ParameterList& l) {
             l.addParameter(made<RealParameter>("grid", 5.0, "", 0, 0, 4, 2));
             l.addParameter(made<RealParameter>("wide", 6.0, "", 0, 0, 2, 3));
             l.addParameter(made<RealParameter>("row", 7.0, "", 0, 0, 1, 1)); // a scalar
             l.addParameter(oneDimensional("line", {1, 2, 3}));
             l.addParameter(made<RealParameter>("flat", 8.0, "", 0, 0, 3, 1));
         },
         [](ParameterList& l) {
             l.addParameter(made<RealParameter>("grid", 1.0, "", 0, 0, 2, 2));
             l.addParameter(made<RealParameter>("wide", 2.0, "", 0, 0, 2, 2));
             l.addParameter(new RealParameter("row", "", 3.0, 0, 1, 1, true)); // a one-cell array
             l.addParameter(made<RealParameter>("line", 0.0, "", 0, 0, 2, 1));
             l.addParameter(oneDimensional("flat", {9, 9}));
         }},
        {"twins on both sides: the first held wins for each",
         [](ParameterList& l) {
             l.addParameter(made<LongParameter>("x", 1));
             l.addParameter(made<LongParameter>("x", 2));
             l.addParameter(made<RealParameter>("B", 2.0));
         },
         [](ParameterList& l) {
             l.addParameter(made<LongParameter>("x", 10, "first"));
             l.addParameter(made<LongParameter>("x", 20, "second", 0, 0, 1, 3));
             l.addParameter(made<LongParameter>("x", 30, "third"));
             l.addParameter(made<RealParameter>("B", 0.5));
             l.addParameter(made<RealParameter>("B", 0.25));
         }},
        {"twins in the same places: the first held still wins for each",
         [](ParameterList& l) {
             l.addParameter(made<LongParameter>("x", 1));
             l.addParameter(made<LongParameter>("x", 2));
         },
         [](ParameterList& l) {
             l.addParameter(made<LongParameter>("x", 10, "first"));
             l.addParameter(made<LongParameter>("x", 20, "second"));
         }},
        {"values-less parameters take the defaults' heading",
         [](ParameterList& l) {
             l.addParameter(title("Look", "old", 1));
             l.addParameter(made<LongParameter>("Look2", 1));
         },
         [](ParameterList& l) {
             l.addParameter(title("Look", "new", 2));
             l.addParameter(title("Look2", "", 0));
         }},
        {"nothing held", [](ParameterList&) {},
         [](ParameterList& l) { l.addParameter(made<LongParameter>("n", 1)); }},
        {"no defaults", [](ParameterList& l) { l.addParameter(made<LongParameter>("n", 1)); },
         [](ParameterList&) {}},
    };
    for (const Case& c : cases) {
        for (bool skipSizes : {false, true}) {
            for (bool given : {false, true}) {
                SCOPED_TRACE(std::string(c.what) + (skipSizes ? ", sizes skipped" : "") +
                             (given ? ", defaults given up" : ""));
                ParameterList current, defaults;
                c.current(current);
                c.defaults(defaults);
                ParameterList expected(defaults);
                expected.copyFrom(current, skipSizes, true, false);

                struct Held {
                    const Parameter* at;
                    std::string name;
                    const std::type_info* type;
                };
                std::vector<Held> held; // the parameters not reused are gone afterwards
                for (std::size_t i = 0; i < current.size(); ++i) {
                    const Parameter* p = current.getParameter(i);
                    held.push_back({p, p->getName().data(), &typeid(*p)});
                }
                const std::string before = describe(defaults);
                if (given) {
                    current.takeDefaults(std::move(defaults), skipSizes);
                } else {
                    current.takeDefaults(defaults, skipSizes);
                    EXPECT_EQ(describe(defaults), before); // read, not changed
                }
                EXPECT_EQ(describe(current), describe(expected));
                // The first parameter of a name, when the one held before under it is of its
                // class, is that one, not a copy.
                for (std::size_t i = 0; i < current.size(); ++i) {
                    const Parameter* now = current.getParameter(i);
                    const std::string name = now->getName().data();
                    bool firstOfName = true;
                    for (std::size_t j = 0; j < i; ++j) {
                        firstOfName = firstOfName && name != current.getParameter(j)->getName().data();
                    }
                    auto old =
                        std::find_if(held.begin(), held.end(), [&](const Held& h) { return h.name == name; });
                    if (firstOfName && old != held.end() && *old->type == typeid(*now)) {
                        EXPECT_EQ(now, old->at) << name;
                    }
                }
            }
        }
    }
}

TEST(ParameterListTest, LookupPositionsAndOwnership) {
    ParameterList list = threeParameters();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.getParameterIndex("zzyzx"), 2u);
    EXPECT_EQ(list.getParameterIndex("depth"), ParameterList::npos);
    EXPECT_EQ(ParameterList().getParameterIndex("a"), ParameterList::npos);
    EXPECT_EQ(list.getParameter(String("WIDTH")), list.getParameter(1));
    EXPECT_EQ(list.getParameterIndex("widt"), ParameterList::npos);
    EXPECT_EQ(list.getParameterIndex("widths"), ParameterList::npos);
    list.addParameter(new RealParameter("H\xc3\xb6he", "", 2.1)); // not ASCII: "Hoehe" with an umlaut
    EXPECT_EQ(list.getParameterIndex("H\xc3\x96HE"), 3u);
    EXPECT_EQ(list.getParameterIndex("hohe"), ParameterList::npos);
    EXPECT_EQ(list.getParameterIndex("h"), ParameterList::npos); // the ASCII start of a name only
    list.deleteParameter(3);
    EXPECT_EQ(list.getParameter(3), nullptr);
    EXPECT_THROW(list[3], std::out_of_range);

    list.insertParameter(new LongParameter("first", "", 1), 0);
    list.setParameter(new LongParameter("second", "", 2), 1);
    list.insertParameter(new LongParameter("last", "", 3), 99);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(nameAt(list, 0), "first");
    EXPECT_EQ(nameAt(list, 1), "second");
    EXPECT_EQ(nameAt(list, 4), "last");
    list.deleteParameter(0);
    list.deleteParameter(40);
    EXPECT_EQ(nameAt(list, 0), "second");

    ParameterList copy(list);
    ASSERT_EQ(copy.size(), list.size());
    EXPECT_NE(copy.getParameter(0), list.getParameter(0));
    EXPECT_TRUE(*copy.getParameter(0) == *list.getParameter(0));

    list.setDefault();
    EXPECT_EQ(static_cast<LongParameter*>(list.getParameter(0))->getValue(), 0);
    EXPECT_EQ(list.size(), 4u);
    list.deleteAllParameters();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(copy.size(), 4u);
}

TEST(ParameterListTest, CommandHandleRoundTripAddsCommandAndVersion) {
    ParameterList list = threeParameters();
    GSHandle handle = nullptr;
    ASSERT_TRUE(list.packParameter(handle, true, 42, 3));
    Int32 count = 0;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, handle, &count), NoError);
    EXPECT_EQ(count, 5);
    API_MDCLParameter record;
    record.index = 4;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, handle, &record), NoError);
    EXPECT_STREQ(record.name, "command_id");
    EXPECT_EQ(record.int_par, 42);
    record.index = 5;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, handle, &record), NoError);
    EXPECT_STREQ(record.name, "command_version");
    EXPECT_EQ(record.int_par, 3);

    // Unpacking gives the records in reverse index order.
    ParameterList back;
    ASSERT_TRUE(back.unpackParameter(handle));
    ASSERT_EQ(back.size(), 5u);
    EXPECT_EQ(nameAt(back, 0), "command_version");
    EXPECT_EQ(nameAt(back, 4), "count");
    EXPECT_TRUE(*back.getParameter(4) == *list.getParameter(0));
    EXPECT_TRUE(*back.getParameter(3) == *list.getParameter(1));
    EXPECT_TRUE(*back.getParameter(2) == *list.getParameter(2));
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);

    ASSERT_TRUE(list.packParameter(handle, true, 0, 3));
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, handle, &count), NoError);
    EXPECT_EQ(count, 3);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);

    EXPECT_TRUE(back.unpackParameter(GSHandle(nullptr)));
    EXPECT_EQ(back.size(), 0u);
}

TEST(ParameterListTest, HostFailuresLeaveNothingBehind) {
    ParameterList list = threeParameters();
    GSHandle handle = nullptr;
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL, 1, 2); // the init and the first add pass
    EXPECT_FALSE(list.packParameter(handle, true, 7, 1));
    EXPECT_EQ(handle, nullptr);

    sim::failNextAllocations(1); // the list itself
    EXPECT_FALSE(list.packParameter(handle, true, 0, 0));
    EXPECT_EQ(handle, nullptr);
    sim::failNextAllocations(1, ErrMemoryFull);
    ASSERT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &handle), APIERR_MEMFULL);
    ASSERT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &handle), NoError);
    sim::failNextAllocations(1); // the copy of the first name
    EXPECT_THROW(list.packParameter(handle, false, 0, 0), std::bad_alloc);
    EXPECT_EQ(handle, nullptr);

    ASSERT_TRUE(list.packParameter(handle, true, 0, 0));
    ParameterList back;
    back.addParameter(new LongParameter("stale", "", 1));
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL); // the count
    EXPECT_FALSE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 0u);
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL, 1, 1); // one record cannot be read: skipped
    EXPECT_TRUE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 2u);

    // A record of a kind no parameter holds empties the list.
    API_MDCLParameter pointer;
    pointer.name = "where";
    pointer.type = MDCLPar_pointer;
    ASSERT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, handle, &pointer), NoError);
    EXPECT_FALSE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 0u);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);
}

TEST(ParameterListTest, HandleClaimingMoreRecordsThanItHoldsFailsAtOnce) {
    GSHandle handle = nullptr;
    ASSERT_TRUE(threeParameters().packParameter(handle, true, 0, 0));
    // The host keeps the record count right after the list's tag.
    Int32 claimed = 0x7FFFFFFF;
    std::memcpy(*handle + sizeof(UInt32), &claimed, sizeof claimed);
    ParameterList back;
    back.addParameter(new LongParameter("stale", "", 1));
    sim::clearCalls();
    EXPECT_FALSE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 0u);
    EXPECT_LE(sim::callCount("ACAPI_Goodies"), 1u);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);
}

TEST(ParameterListTest, CopyFromTakesValuesByExactNameTheFirstOfTwinsWinning) {
    ParameterList source;
    source.addParameter(new RealParameter("width", "", 0.5));
    source.addParameter(new LongParameter("Count", "", 40)); // another name: letter case counts
    source.addParameter(new RealParameter("width", "", 0.7));
    source.addParameter(new StringParameter("ZZYZX", "", String("low")));
    source.addParameter(new LongParameter("absent", "", 1));

    ParameterList list = threeParameters();
    list.copyFrom(source, true, true, true); // sizes skipped
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.getParameter(0)->getValueText(), "12");
    EXPECT_EQ(list.getParameter(1)->getValueText(), RealParameter("", "", 0.5).getValueText());
    EXPECT_EQ(list.getParameter(2)->getValueText(), "tall");

    list.copyFrom(source, false, true, true);
    EXPECT_EQ(list.getParameter(2)->getValueText(), "low");
    list.copyFrom(ParameterList(), false, true, true);
    EXPECT_EQ(list.getParameter(2)->getValueText(), "low");
}
