#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "sim/Memory.h"

#include "XML/Node.h"
#include "XML/SampleBindings.h"

#include <gtest/gtest.h>

#include <new>

using namespace zelvane;

namespace {

String exported(XMLShipping& object, bool header = true, bool indent = true, bool lineBreaks = true) {
    String text;
    DataBufferOut stream(&text);
    XMLWriter writer(&stream);
    EXPECT_TRUE(writer.exportFrom(object, header, indent, lineBreaks, true));
    return text;
}

bool imported(String const& text, XMLShipping& object) {
    DataBufferIn stream(text, 99);
    XMLReader reader(&stream);
    return reader.importTo(object);
}

void fill(sample::ObjectMap& map) {
    map.version = -3;
    map.library = "lib \"main\" & <more>";
    for (int i = 0; i < 3; ++i) {
        auto entry = std::make_unique<sample::Entry>();
        entry->sourceName = "door?name=1";
        entry->objectType = "window's";
        entry->id.generate();
        entry->name = "name \xC3\xA9 ]]> --> <!-- ?>";
        entry->note = "\ttabs\nand lines\r\n  ";
        entry->width = 1.0 / 3.0 + i;
        entry->count = -2147483647 - 1;
        entry->flags = 4294967295u;
        entry->level = -32768;
        entry->size = 18446744073709551615ull;
        entry->enabled = i % 2 == 0;
        entry->length = 1234.56;
        entry->price = 99.99;
        entry->ratio = -0.125;
        entry->edited = Time(2017, 3, 5, 9, 4, 0);
        entry->edited.setUTCOffset(-330);
        for (int j = 0; j < i; ++j) {
            auto param = std::make_unique<sample::ParamEntry>();
            param->name = "p";
            param->type = "&amp;";
            param->value = "";
            entry->params.entries.push_back(std::move(param));
        }
        map.entries.entries.push_back(std::move(entry));
    }
    for (int i = 0; i < 2; ++i) {
        auto record = std::make_unique<sample::Record>();
        record->name = "r";
        record->amount = 10.5 * i;
        record->day = Time(2000 + i, 1, 31, 0, 0, 0);
        Guid key;
        key.generate();
        map.records.keys.insert(key);
        map.records.records.emplace_back(key, std::move(record));
    }
}

} // namespace

TEST(XMLRoundTripTest, EveryBindingComesBack) {
    sample::ObjectMap original;
    fill(original);
    for (int form = 0; form < 3; ++form) {
        bool lineBreaks = form != 1;
        bool indent = form == 0;
        String first = exported(original, form != 2, indent, lineBreaks);
        sample::ObjectMap copy;
        ASSERT_TRUE(imported(first, copy)) << first;
        EXPECT_EQ(copy.version, original.version);
        EXPECT_EQ(copy.library, original.library);
        ASSERT_EQ(copy.entries.entries.size(), original.entries.entries.size());
        for (std::size_t i = 0; i < copy.entries.entries.size(); ++i) {
            auto const& a = *original.entries.entries[i];
            auto const& b = *copy.entries.entries[i];
            EXPECT_EQ(b.sourceName, a.sourceName);
            EXPECT_EQ(b.objectType, a.objectType);
            EXPECT_TRUE(b.id == a.id);
            EXPECT_EQ(b.name, a.name);
            EXPECT_EQ(b.note, a.note);
            EXPECT_NEAR(b.width, a.width, 1e-5);
            EXPECT_EQ(b.count, a.count);
            EXPECT_EQ(b.flags, a.flags);
            EXPECT_EQ(b.level, a.level);
            EXPECT_EQ(b.size, a.size);
            EXPECT_EQ(b.enabled, a.enabled);
            EXPECT_NEAR(b.length, a.length, 0.05);
            EXPECT_NEAR(b.price, a.price, 1e-9);
            EXPECT_EQ(b.ratio, a.ratio);
            EXPECT_TRUE(b.edited == a.edited);
            EXPECT_EQ(b.edited.getUTCOffset(), -330);
            ASSERT_EQ(b.params.entries.size(), a.params.entries.size());
            for (std::size_t j = 0; j < b.params.entries.size(); ++j) {
                EXPECT_EQ(b.params.entries[j]->type, "&amp;");
            }
        }
        ASSERT_EQ(copy.records.records.size(), 2u);
        EXPECT_TRUE(copy.records.records[1].first == original.records.records[1].first);
        EXPECT_NEAR(copy.records.records[1].second->amount, 10.5, 1e-9);
        EXPECT_TRUE(copy.records.records[1].second->day == Time(2001, 1, 31, 0, 0, 0));
        EXPECT_EQ(exported(copy, form != 2, indent, lineBreaks), first);
    }
}

TEST(XMLRoundTripTest, EmptyObjectsAndOneLineForm) {
    sample::ObjectMap empty;
    String text = exported(empty, false, false, false);
    EXPECT_EQ(text, "<objectMap version=\"0\" library=\"\"><entries/><records/></objectMap>");
    sample::ObjectMap copy;
    copy.version = 9;
    ASSERT_TRUE(imported(text, copy));
    EXPECT_EQ(copy.version, 0);
}

TEST(XMLRoundTripTest, DateTimeOfEveryContent) {
    for (auto content : {XMLDateTime::dateTime, XMLDateTime::date, XMLDateTime::time,
                         XMLDateTime::dateTimeZone, XMLDateTime::timeZone}) {
        Time written(1999, 12, 31, 23, 59, 58);
        written.setUTCOffset(static_cast<short>(-90));
        Time read(false);
        bool attribute = content % 2 == 0;
        auto bind = [&](Time& time) {
            auto* binding = new XMLDateTime(time, "at", attribute);
            binding->setContent(content);
            return binding;
        };
        test::Node out("n");
        out.fields.push_back([&] { return bind(written); });
        test::Node in("n");
        in.fields.push_back([&] { return bind(read); });
        String text = exported(out, false, false, false);
        ASSERT_TRUE(imported(text, in)) << text;
        EXPECT_EQ(exported(in, false, false, false), text);
    }
}

// Every allocation of a read and of a write may fail: the failure comes out as std::bad_alloc and
// loses no host memory (the test main checks), and the next attempt succeeds.
TEST(XMLRoundTripTest, EveryAllocationMayFail) {
    sample::ObjectMap original;
    fill(original);
    String text = exported(original);
    bool read = false;
    for (int skip = 0; !read; ++skip) {
        sample::ObjectMap copy;
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        try {
            DataBufferIn stream(text);
            XMLReader reader(&stream);
            read = reader.importTo(copy);
            EXPECT_TRUE(read);
        } catch (std::bad_alloc const&) {
        }
        sim::failNextAllocations(0);
        ASSERT_LT(skip, 100000);
    }
    bool written = false;
    for (int skip = 0; !written; ++skip) {
        String out;
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        try {
            DataBufferOut stream(&out);
            XMLWriter writer(&stream);
            written = writer.exportFrom(original);
        } catch (std::bad_alloc const&) {
        }
        sim::failNextAllocations(0);
        ASSERT_LT(skip, 100000);
    }
}
