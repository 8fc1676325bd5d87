#include "Interface/FieldProxy.h"
#include "Environment/StringSetting.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

// The value texts of rows 0..count-1, "-" for a row without a value.
std::vector<std::string> texts(const FieldProxy& proxy, Int16 count) {
    std::vector<std::string> result;
    for (Int16 row = 0; row < count; ++row) {
        String text("-");
        if (const Setting* value = proxy.getValue(row)) {
            value->getValue(text);
        }
        result.push_back(text.data());
    }
    return result;
}

} // namespace

TEST(FieldProxyTest, ValuesKeepTheirRows) {
    struct Case {
        const char* name;
        std::function<void(FieldProxy&)> change;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"replacing a row",
         [](FieldProxy& p) { p.setValue(1, new StringSetting(String("x"))); },
         {"a", "x", "c", "-"}},
        {"clearing a row", [](FieldProxy& p) { p.setValue(1, nullptr); }, {"a", "-", "c", "-"}},
        {"setting past the end",
         [](FieldProxy& p) { p.setValue(4, new StringSetting(String("y"))); },
         {"a", "b", "c", "-", "y", "-"}},
        {"a negative row",
         [](FieldProxy& p) { p.setValue(-1, new StringSetting(String("z"))); },
         {"a", "b", "c", "-"}},
        {"inserting in the middle", [](FieldProxy& p) { p.insertRow(1, 2); }, {"a", "-", "-", "b", "c", "-"}},
        {"inserting before all", [](FieldProxy& p) { p.insertRow(0, 3); }, {"-", "-", "-", "a", "b", "c"}},
        {"inserting after all", [](FieldProxy& p) { p.insertRow(3, 1); }, {"a", "b", "c", "-"}},
        {"inserting past the end", [](FieldProxy& p) { p.insertRow(5, 1); }, {"a", "b", "c", "-", "-", "-"}},
        {"inserting then replacing",
         [](FieldProxy& p) {
             p.insertRow(1, 1);
             p.setValue(3, new StringSetting(String("w")));
         },
         {"a", "-", "b", "w", "-"}},
        {"deleting in the middle", [](FieldProxy& p) { p.deleteRow(1, 1); }, {"a", "c", "-"}},
    };
    for (const Case& c : cases) {
        FieldProxy proxy(nullptr, 3);
        proxy.setValue(0, new StringSetting(String("a")));
        proxy.setValue(1, new StringSetting(String("b")));
        proxy.setValue(2, new StringSetting(String("c")));
        c.change(proxy);
        EXPECT_EQ(texts(proxy, Int16(c.expected.size())), c.expected) << c.name;
    }
}

TEST(FieldProxyTest, InsertingIntoAnEmptyStoreGivesEmptyValues) {
    FieldProxy proxy;
    proxy.insertRow(0, 1000);
    proxy.setValue(999, new StringSetting(String("last")));
    EXPECT_EQ(proxy.getValue(0), nullptr);
    EXPECT_EQ(proxy.getValue(998), nullptr);
    ASSERT_NE(proxy.getValue(999), nullptr);
    EXPECT_EQ(proxy.getValue(1000), nullptr);
}
