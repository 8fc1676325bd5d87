#include "ACAPI/Resources.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/RS.hpp"
#include "sim/ReadFile.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

const char* const sample = R"({
  "strings": { "100": ["first", "second", "dritte \u00fc"] },
  "menus": { "200": { "title": "Tools", "items": ["One", "Two"] } },
  "dialogs": {
    "300": {
      "title": "Sample", "size": [200, 100], "minimumSize": [150, 80], "grow": 3,
      "items": [
        {"number": 1, "kind": "button", "rect": [10, 70, 90, 90], "text": "OK"},
        {"number": 3, "kind": "popup", "rect": [10, 10, 190, 30], "rows": ["a", "b"], "enabled": false},
        {"number": 4, "kind": "tabControl", "rect": [0, 0, 200, 60], "pages": [301, 302]}
      ]
    }
  },
  "data": { "MDID": { "32500": { "uint32": [1515, 7] } }, "TEXT": { "1": { "text": "abc" } } }
})";

TEST(ResourceFileTest, ReadsEverySection) {
    sim::ResourceFile file;
    std::string error;
    ASSERT_TRUE(sim::parseResources(sample, file, error)) << error;
    ASSERT_NE(file.findString(100, 3), nullptr);
    EXPECT_EQ(*file.findString(100, 1), "first");
    EXPECT_EQ(*file.findString(100, 3), "dritte \xC3\xBC");
    EXPECT_EQ(file.findString(100, 0), nullptr);
    EXPECT_EQ(file.findString(100, 4), nullptr);
    ASSERT_NE(file.findMenu(200), nullptr);
    EXPECT_EQ(file.findMenu(200)->items.size(), 2u);
    const sim::DialogTemplate* dialog = file.findDialog(300);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->minWidth, 150);
    EXPECT_EQ(dialog->grow, 3);
    ASSERT_NE(dialog->findItem(3), nullptr);
    EXPECT_FALSE(dialog->findItem(3)->enabled);
    EXPECT_EQ(dialog->findItem(3)->rows.size(), 2u);
    EXPECT_EQ(dialog->findItem(4)->pages, (std::vector<short>{301, 302}));
    EXPECT_EQ(dialog->findItem(2), nullptr);
    const auto* mdid = file.findData(MakeGSType("MDID"), 32500);
    ASSERT_NE(mdid, nullptr);
    ASSERT_EQ(mdid->size(), 8u);
    UInt32 ids[2];
    std::memcpy(ids, mdid->data(), 8);
    EXPECT_EQ(ids[0], 1515u);
    EXPECT_EQ(ids[1], 7u);
}

TEST(ResourceFileTest, RefusesBadFilesAndKeepsWhatWasLoaded) {
    struct Case {
        const char* text;
        const char* where; // part of the message
    };
    const Case cases[] = {
        {"{\"strings\": ", "JSON"},
        {"[]", "(root)"},
        {"{\"string\": {}}", "unknown member"},
        {"{\"strings\": {\"abc\": []}}", "strings.abc"},
        {"{\"strings\": {\"40000\": []}}", "16-bit"},
        {"{\"strings\": {\"1\": [\"a\", 2]}}", "strings.1[1]"},
        {"{\"dialogs\": {\"1\": {\"title\": \"x\"}}}", "size"},
        {"{\"dialogs\": {\"1\": {\"size\": [1, 2], \"items\": [{\"number\": 0, \"kind\": \"button\", "
         "\"rect\": [0,0,1,1]}]}}}",
         "start at 1"},
        {"{\"dialogs\": {\"1\": {\"size\": [1, 2], \"items\": [{\"number\": 1, \"kind\": \"slider\", "
         "\"rect\": [0,0,1,1]}]}}}",
         "slider"},
        {"{\"dialogs\": {\"1\": {\"size\": [1, 2], \"items\": [{\"number\": 1, \"kind\": \"button\", "
         "\"rect\": [0,0,1]}]}}}",
         "rect"},
        {"{\"dialogs\": {\"1\": {\"size\": [1, 2], \"items\": [{\"number\": 1, \"kind\": \"button\", "
         "\"rect\": "
         "[0,0,1,1]}, {\"number\": 1, \"kind\": \"button\", \"rect\": [0,0,1,1]}]}}}",
         "twice"},
        {"{\"data\": {\"MDI\": {}}}", "four characters"},
        {"{\"data\": {\"MDID\": {\"1\": {\"bytes\": [256]}}}}", "out of range"},
        {"{\"data\": {\"MDID\": {\"1\": {\"uint32\": [-1]}}}}", "out of range"},
        {"{\"data\": {\"MDID\": {\"1\": {\"floats\": [1]}}}}", "floats"},
        {"{\"dialogs\": {\"1\": {\"size\": [18446744073709551615, 2]}}}", "16-bit"},
        {"{\"data\": {\"MDID\": {\"1\": {\"bytes\": [1]}, \"01\": {\"bytes\": [2]}}}}", "twice"},
        {"{\"strings\": {\"1\": [\"a\"], \"1\": [\"b\"]}}", "the key \"1\" appears twice"},
        // Keys stay on the message's line, in the path to the value too.
        {"{\"strings\": {\"1\\nhostsim: fake line\": []}}",
         "strings.\"1\\nhostsim: fake line\": \"1\\nhostsim: fake line\" is not a 16-bit resource ID"},
        {"{\"strings\": {\"\\n1\": [2]}}", "strings.\"\\n1\"[0]: expected a text"},
        {"{\"strin\u2028gs\": {}}", "(root): unknown member \"strin\\u2028gs\""},
        {"{\"data\": {\"MD\\rD\": []}}", "data.\"MD\\x0dD\": expected an object keyed by resource ID"},
        {"{\"data\": {\"MDID\": {\"1\": {\"fl\\u0085oats\": [1]}}}}", "unknown data form \"fl\\u0085oats\""},
    };
    ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, sample));
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(sim::loadResourcesText(sim::defaultAddOn, c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.where), std::string::npos) << c.text << " -> " << error;
    }
    const sim::ResourceFile* kept = sim::resources(ACAPI_GetOwnResModule());
    ASSERT_NE(kept, nullptr);
    EXPECT_NE(kept->findDialog(300), nullptr);
}

TEST(ResourceFileTest, HostLookups) {
    GSResModule module = ACAPI_GetOwnResModule();
    GS::UniString text("left over");
    EXPECT_FALSE(RSGetIndString(&text, 100, 1, module)); // nothing loaded yet
    EXPECT_TRUE(text.IsEmpty());

    auto path = sim::sandboxRoot() / "resource-lookups.json";
    std::ofstream(path) << sample;
    std::string error;
    ASSERT_TRUE(sim::loadResources(path, &error)) << error;

    EXPECT_TRUE(ACAPI_Resource_GetLocStr(&text, 100, 2, module));
    EXPECT_EQ(text.ToUTF8(), "second");
    EXPECT_FALSE(ACAPI_Resource_GetLocStr(&text, 100, 4, module));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(RSGetIndStringCount(100, module), 3);
    EXPECT_EQ(RSGetIndStringCount(101, module), 0);

    // Another add-on's module does not see these resources.
    GSResModule other = sim::resourceModule({1, 2});
    EXPECT_NE(other, module);
    EXPECT_FALSE(RSGetIndString(&text, 100, 1, other));

    GSHandle handle = RSLoadResource(MakeGSType("TEXT"), module, 1);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(BMGetHandleSize(handle), 3);
    EXPECT_EQ(std::memcmp(*handle, "abc", 3), 0);
    BMKillHandle(&handle);
    EXPECT_EQ(RSLoadResource(MakeGSType("TEXT"), module, 2), nullptr);

    sim::failCall("RSGetIndString", APIERR_GENERAL);
    EXPECT_FALSE(RSGetIndString(&text, 100, 1, module));
    sim::failCall("RSLoadResource", APIERR_GENERAL);
    EXPECT_EQ(RSLoadResource(MakeGSType("TEXT"), module, 1), nullptr);

    // What is not a regular file of a bounded size is refused unread: a FIFO is not waited on.
    const std::filesystem::path folder = sim::sandboxRoot() / "unread";
    std::filesystem::create_directories(folder / "folder.json");
    ASSERT_EQ(::mkfifo((folder / "fifo.json").c_str(), 0600), 0);
    std::ofstream(folder / "big.json") << "{}";
    std::filesystem::resize_file(folder / "big.json", sim::inputFileLimit + 1);
    for (const auto& [name, why] :
         {std::pair<const char*, const char*>{"missing.json", "cannot be read, No such file"},
          {"folder.json", "it is a folder, not a file"},
          {"fifo.json", "it is a FIFO, not a file"},
          {"big.json", "it holds more than the 64 MiB the host reads of a file"}}) {
        EXPECT_FALSE(sim::loadResources(folder / name, &error));
        EXPECT_EQ(error.rfind("\"" + (folder / name).string() + "\": " + why, 0), 0u) << error;
    }
    EXPECT_TRUE(RSGetIndString(&text, 100, 1, module));
}

TEST(ResourceFileTest, FrameworkResourcesRead) {
    auto path = std::filesystem::path(ZELVANE_RESOURCE_DIR) / "zelvane.json";
    std::string error;
    ASSERT_TRUE(sim::loadResources(path, &error)) << error;
    const sim::ResourceFile* file = sim::resources(ACAPI_GetOwnResModule());
    ASSERT_NE(file, nullptr);
    for (short index : {1, 2, 3, 4, 5, 6, 8, 9, 10, 21, 22, 28}) {
        ASSERT_NE(file->findString(32700, index), nullptr) << index;
        EXPECT_FALSE(file->findString(32700, index)->empty()) << index;
    }
    const sim::DialogTemplate* name = file->findDialog(32600);
    ASSERT_NE(name, nullptr);
    for (short item : {1, 2, 3, 4}) {
        EXPECT_NE(name->findItem(item), nullptr) << item;
    }
    EXPECT_EQ(name->findItem(4)->kind, "textEdit");
}

} // namespace
