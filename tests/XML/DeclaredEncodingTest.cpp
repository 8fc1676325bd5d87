#include "XML/XMLReader.h"

#include "Environment/DataBufferIn.h"
#include "XML/XMLTypeProxy.h"

#include "XML/Node.h"

#include <gtest/gtest.h>

#include <string>

using namespace zelvane;

// Each encoding a declaration may name decodes the document's bytes into the characters that
// encoding gives them, in text and in attribute values alike.
TEST(DeclaredEncodingTest, TextDecodesInTheNamedEncoding) {
    struct Case {
        char const* encoding;
        std::string bytes;
        std::string utf8;
    };
    Case const cases[] = {
        {"windows-1252", "caf\xE9", "caf\xC3\xA9"},
        {"windows-1250", "\xA3\xF3\x64\x9F", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
        {"windows-1257", "\xE0\xFE", "\xC4\x85\xC5\xBE"},
        {"windows-1251", "\xC6\xF3\xEA", "\xD0\x96\xD1\x83\xD0\xBA"},
        {"windows-1253", "\xD9\xEC", "\xCE\xA9\xCE\xBC"},
        {"windows-1254", "\xF0\xFD\xFE", "\xC4\x9F\xC4\xB1\xC5\x9F"},
        {"windows-1255", "\xE0\xE1", "\xD7\x90\xD7\x91"},
        {"windows-1256", "\xC7\xC8", "\xD8\xA7\xD8\xA8"},
        {"windows-874", "\xA1\xA2", "\xE0\xB8\x81\xE0\xB8\x82"},
        {"shift-jis", "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"big5", "\xA4\xA4", "\xE4\xB8\xAD"},
        {"gb2312", "\xD6\xD0", "\xE4\xB8\xAD"},
        {"windows-949", "\xC7\xD1", "\xED\x95\x9C"},
    };
    for (Case const& c : cases) {
        std::string document = std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding + "\"?><a x=\"" +
                               c.bytes + "\"><t>" + c.bytes + "</t></a>";
        String text(document.c_str());
        DataBufferIn stream(text, 99);
        XMLReader reader(&stream);
        String x;
        String t;
        test::Node node("a");
        node.fields.push_back([&x] { return new XMLTypeProxy<String>(x, "x", true); });
        node.fields.push_back([&t] { return new XMLTypeProxy<String>(t, "t"); });
        ASSERT_TRUE(reader.importTo(node)) << c.encoding;
        EXPECT_EQ(std::string(t.data()), c.utf8) << c.encoding;
        EXPECT_EQ(std::string(x.data()), c.utf8) << c.encoding;
    }
}
