#include "sim/JsonText.h"
#include "sim/Dialogs.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Arrays nested `depth` deep around a 0.
std::string nested(int depth, const std::string& before = "", const std::string& after = "") {
    return before + std::string(std::size_t(depth), '[') + "0" + std::string(std::size_t(depth), ']') + after;
}

} // namespace

TEST(JsonTextTest, NestingIsBoundWhileParsing) {
    struct Case {
        std::string text;
        bool read;
        const char* error;
    };
    const Case cases[] = {
        {nested(sim::jsonNestingLimit), true, ""},
        {nested(sim::jsonNestingLimit - 1, "{\"a\": ", "}"), true, ""},
        {nested(sim::jsonNestingLimit, "{\"a\": ", "}"), false, "nested deeper than 256 levels"},
        {nested(sim::jsonNestingLimit + 1), false, "nested deeper than 256 levels"},
        {nested(30000), false, "nested deeper than 256 levels"},
        {std::string(30000, '['), false, "nested deeper than 256 levels"},
        {"{\"a\": [1, 2}", false, "not well-formed JSON at line 1, column 12"},
        {"{\n  \"a\": 1,\n  \"b\": ]\n}", false, "not well-formed JSON at line 3, column 8"},
        {"[\"\u00e9\", x]", false, "at line 1, column 7"}, // columns count characters
        {"[1] [2]", false, "not well-formed JSON at line 1, column 5"},
        {"", false, "not well-formed JSON at line 1, column 1"},
        // A key given twice in one object, named at its second place, however it is written.
        {"[{\"a\":1},{\"a\":2}]", true, ""},
        {"{\"a\": 1,\n \"b\": {\"c\": 1, \"c\": 2}}", false,
         "the key \"c\" appears twice in one object (line 2, column 16)"},
        {"{\"a\": 1, \"\\u0061\": 2}", false,
         "the key \"a\" appears twice in one object (line 1, column 10)"},
        {"{\"x\\\"\": 1, \"x\\\"\": 2}", false,
         "the key \"x\\\"\" appears twice in one object (line 1, column 12)"},
        {"{\"\\n\u2028\": 1, \"\\n\u2028\": 2}", false, "the key \"\\n\\u2028\" appears twice"},
    };
    for (const Case& c : cases) {
        std::string error = "stale";
        nlohmann::json value = sim::parseJson(c.text, error);
        EXPECT_EQ(!value.is_discarded(), c.read) << c.text.substr(0, 40);
        if (c.read) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(value.dump().size(), c.text.size() - (c.text[0] == '{' ? 1 : 0)) << "read whole";
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

TEST(JsonTextTest, ReadersOfTheHostRefuseDeepText) {
    std::string deep = "{\"strings\": {}, \"unread\": " + nested(30000) + "}";
    ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, "{\"strings\": {\"32700\": [\"Kept\"]}}"));
    std::string error;
    EXPECT_FALSE(sim::loadResourcesText(sim::defaultAddOn, deep, &error));
    EXPECT_NE(error.find("nested deeper than 256 levels"), std::string::npos) << error;
    ASSERT_NE(sim::resources(sim::resourceModule(sim::defaultAddOn)), nullptr);
    EXPECT_EQ(sim::resources(sim::resourceModule(sim::defaultAddOn))->strings.at(32700).front(), "Kept");

    error.clear();
    EXPECT_FALSE(sim::queueScriptedAnswers("{\"alerts\": [1], \"x\": " + nested(30000) + "}", &error));
    EXPECT_NE(error.find("nested deeper than 256 levels"), std::string::npos) << error;
    EXPECT_EQ(sim::pendingAlertAnswers(), 0u);
}
