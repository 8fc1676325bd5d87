#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLMapProxy.h"
#include "XML/XMLPair.h"
#include "XML/XMLTypeProxy.h"
#include "XML/XMLUnitKey.h"
#include "XML/XMLUnitProxy.h"

#include "XML/SampleBindings.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

template <typename T>
String written(T value) {
    XMLTypeProxy<T> binding(value, "v");
    String text;
    EXPECT_TRUE(binding.write(text));
    return text;
}

} // namespace

TEST(XMLTypeProxyTest, BoolReadsWordsInAnyCase) {
    struct Case {
        char const* text;
        bool ok;
        bool value;
    };
    Case const cases[] = {{"true", true, true},   {"TrUe", true, true}, {"1", true, true},
                          {"FALSE", true, false}, {"0", true, false},   {"yes", false, true},
                          {"", false, true},      {" 1", false, true},  {"10", false, true}};
    for (auto const& c : cases) {
        bool member = true;
        XMLTypeProxy<bool> binding(member, "b");
        EXPECT_EQ(binding.read(String(c.text)), c.ok) << c.text;
        EXPECT_EQ(member, c.value) << c.text;
    }
    EXPECT_EQ(written(true), "1");
    EXPECT_EQ(written(false), "0");
}

TEST(XMLTypeProxyTest, NumbersStoreWhatTheConversionGives) {
    int i = 5;
    XMLTypeProxy<int> intBinding(i, "i");
    EXPECT_TRUE(intBinding.read(String("12abc")));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(intBinding.read(String("x")));
    EXPECT_EQ(i, 0);
    EXPECT_EQ(written(-42), "-42");

    short s = 0;
    XMLTypeProxy<short> shortBinding(s, "s");
    EXPECT_TRUE(shortBinding.read(String("70000")));
    EXPECT_EQ(s, 4464);
    EXPECT_EQ(written(static_cast<short>(-7)), "-7");

    // Values from 2^31 up come back as written.
    unsigned int u = 0;
    XMLTypeProxy<unsigned int> unsignedBinding(u, "u");
    EXPECT_EQ(written(4000000000u), "4000000000");
    EXPECT_TRUE(unsignedBinding.read(String("4000000000")));
    EXPECT_EQ(u, 4000000000u);
    EXPECT_TRUE(unsignedBinding.read(String("2147483648")));
    EXPECT_EQ(u, 2147483648u);

    unsigned long long big = 0;
    XMLTypeProxy<unsigned long long> bigBinding(big, "l");
    EXPECT_TRUE(bigBinding.read(String("18446744073709551615")));
    EXPECT_EQ(big, 18446744073709551615ull);
    EXPECT_EQ(written(18446744073709551615ull), "18446744073709551615");

    double d = 0;
    XMLTypeProxy<double> doubleBinding(d, "d");
    EXPECT_TRUE(doubleBinding.read(String("3.25m")));
    EXPECT_EQ(d, 3.25);
    EXPECT_EQ(written(1.0 / 3.0), "0.333333");
    EXPECT_EQ(written(1234567.0), "1.23457e+06");
}

TEST(XMLTypeProxyTest, StringAndGuid) {
    String text("old");
    XMLTypeProxy<String> binding(text, "t", true, "ns");
    EXPECT_STREQ(binding.getTag(), "t");
    EXPECT_STREQ(binding.getNameSpace(), "ns");
    EXPECT_TRUE(binding.isAttribute());
    EXPECT_TRUE(binding.read(String(" a <b> ")));
    EXPECT_EQ(text, " a <b> ");
    binding.setDefault();
    EXPECT_TRUE(text.empty());
    binding.setValue(*binding.getValue());
    EXPECT_TRUE(text.empty());

    Guid id;
    id.generate();
    String form = written(id);
    Guid back;
    XMLTypeProxy<Guid> guidBinding(back, "g");
    EXPECT_TRUE(guidBinding.read(form));
    EXPECT_TRUE(back == id);
    EXPECT_TRUE(guidBinding.read(String("not a guid")));
    EXPECT_FALSE(back);
    guidBinding.setValue(id);
    guidBinding.setDefault();
    EXPECT_FALSE(back);
}

TEST(XMLUnitKeyTest, HoldsItsOwnValue) {
    XMLUnitKey<Guid> key("key", true);
    EXPECT_EQ(key.getValue(), &key.getKey());
    Guid id;
    id.generate();
    key.setValue(id);
    XMLUnitKey<Guid> copy(key);
    EXPECT_NE(copy.getValue(), key.getValue());
    EXPECT_TRUE(*copy.getValue() == id);
    copy.setDefault();
    EXPECT_TRUE(key.getKey() == id);
}

TEST(XMLUnitProxyTest, ForwardsEverything) {
    String text("x");
    XMLTypeProxy<String> unit(text, "t", false, "n");
    XMLUnitProxy proxy(unit);
    EXPECT_STREQ(proxy.getTag(), "t");
    EXPECT_STREQ(proxy.getNameSpace(), "n");
    proxy.setAttribute(true);
    EXPECT_TRUE(unit.isAttribute());
    proxy.setEssential(false);
    EXPECT_FALSE(unit.isEssential());
    EXPECT_FALSE(proxy.isEssential());
    EXPECT_TRUE(proxy.read(String("y")));
    String out;
    EXPECT_TRUE(proxy.write(out));
    EXPECT_EQ(out, "y");
    proxy.clear();
    EXPECT_TRUE(text.empty());
}

TEST(XMLContainerProxyTest, TagsAndForwarding) {
    sample::Param param;
    XMLAssemblyProxy plain(param);
    EXPECT_STREQ(plain.getTag(), "param");
    EXPECT_EQ(plain.getNameSpace(), nullptr);
    EXPECT_TRUE(plain.hasAttributes());
    EXPECT_FALSE(plain.isRepeating());
    EXPECT_EQ(plain.shippingSize(), 3u);
    XMLAssemblyProxy renamed(param, "other", "ns");
    EXPECT_STREQ(renamed.getTag(), "other");
    EXPECT_STREQ(renamed.getNameSpace(), "ns");
    renamed.setTag("third");
    EXPECT_STREQ(renamed.getTag(), "third");
    std::unique_ptr<Shipping> field(renamed.getShipping(String("value"), String()));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->read(String("v")));
    EXPECT_EQ(param.value, "v");
    renamed.setDefault();
    EXPECT_TRUE(param.value.empty());

    sample::List<sample::ParamEntry> list("params");
    XMLArrayProxy arrayProxy(list);
    EXPECT_TRUE(arrayProxy.isRepeating());
    EXPECT_FALSE(arrayProxy.hasEnded());
    EXPECT_EQ(arrayProxy.addShipping(), nullptr);
    std::unique_ptr<Shipping> entry(arrayProxy.addShipping(String("param"), String()));
    EXPECT_NE(entry, nullptr);
    EXPECT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(arrayProxy.addShipping(String("other"), String()), nullptr);

    sample::RecordMap map;
    XMLMapProxy mapProxy(map);
    EXPECT_TRUE(mapProxy.isRepeating());
    std::unique_ptr<Shipping> pair(mapProxy.addShipping(String("record"), String()));
    ASSERT_NE(pair, nullptr);
    EXPECT_TRUE(mapProxy.insert(*pair));
    EXPECT_EQ(map.records.size(), 1u);
    EXPECT_FALSE(mapProxy.insert(*entry));
}

TEST(XMLPairTest, FieldsOfKeyAndData) {
    auto* record = new sample::Record;
    record->name = "n";
    Guid id;
    id.generate();
    XMLPair pair(new XMLUnitKey<Guid>(id, "key", true), new XMLAssemblyProxy(*record));
    EXPECT_EQ(pair.shippingSize(), 1u + record->shippingSize());
    EXPECT_STREQ(pair.getTag(), "record");
    EXPECT_TRUE(pair.hasAttributes());

    std::unique_ptr<Shipping> key(pair.getShipping(0, false));
    auto* keyProxy = dynamic_cast<XMLUnitProxy*>(key.get());
    ASSERT_NE(keyProxy, nullptr);
    EXPECT_STREQ(keyProxy->getTag(), "key");
    std::unique_ptr<Shipping> name(pair.getShipping(2, false));
    ASSERT_NE(dynamic_cast<XMLUnit*>(name.get()), nullptr);
    EXPECT_STREQ(dynamic_cast<XMLUnit*>(name.get())->getTag(), "name");
    EXPECT_EQ(pair.getShipping(4, false), nullptr);

    std::unique_ptr<Shipping> byTag(pair.getShipping(String("key"), String()));
    EXPECT_NE(dynamic_cast<XMLUnitProxy*>(byTag.get()), nullptr);
    std::unique_ptr<Shipping> dataField(pair.getShipping(String("name"), String()));
    ASSERT_NE(dataField, nullptr);
    EXPECT_TRUE(dataField->read(String("m")));
    EXPECT_EQ(record->name, "m");
    EXPECT_EQ(pair.getShipping(String("nothing"), String()), nullptr);

    pair.setDefault();
    EXPECT_FALSE(dynamic_cast<XMLUnitKey<Guid>*>(pair.getKey())->getKey());
    EXPECT_TRUE(record->name.empty());
    EXPECT_TRUE(pair.validate());
    pair.setTag("own");
    EXPECT_STREQ(pair.getTag(), "own");

    delete pair.releaseData();
    delete record;
    EXPECT_EQ(pair.getData(), nullptr);
    EXPECT_EQ(pair.getShipping(1, false), nullptr);
}

TEST(XMLPairTest, CountsWithoutKeyOrData) {
    sample::Record record;
    XMLPair noKey(nullptr, new XMLAssemblyProxy(record), "r");
    EXPECT_EQ(noKey.shippingSize(), record.shippingSize());
    String text;
    XMLPair leafData(nullptr, new XMLTypeProxy<String>(text, "t", false, "ns"));
    EXPECT_EQ(leafData.shippingSize(), 1u);
    EXPECT_STREQ(leafData.getNameSpace(), "ns");
    // A leaf with a namespace matches only that namespace; one without matches any.
    EXPECT_EQ(leafData.getShipping(String("t"), String("other")), nullptr);
    std::unique_ptr<Shipping> match(leafData.getShipping(String("t"), String("ns")));
    EXPECT_NE(match, nullptr);
    XMLPair empty(nullptr, nullptr, "e");
    EXPECT_EQ(empty.shippingSize(), 1u);
    EXPECT_EQ(empty.getShipping(0, false), nullptr);
    EXPECT_TRUE(empty.validate());
}
