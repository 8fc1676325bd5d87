#include "XML/XMLReader.h"

#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "XML/XMLTypeProxy.h"

#include "XML/Node.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace zelvane;

namespace {

// The code points in UTF-16 or UTF-32 of either byte order, after the form's byte-order mark.
std::string encode(std::u32string const& text, int width, bool big) {
    auto unit = [&](std::string& out, unsigned long value) {
        for (int i = 0; i < width; ++i) {
            int shift = big ? 8 * (width - 1 - i) : 8 * i;
            out.push_back(char((value >> shift) & 0xFF));
        }
    };
    std::string bytes;
    unit(bytes, 0xFEFF);
    for (char32_t cp : text) {
        if (width == 2 && cp >= 0x10000) {
            unit(bytes, 0xD800 + ((cp - 0x10000) >> 10));
            unit(bytes, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(bytes, cp);
        }
    }
    return bytes;
}

} // namespace

// A document in any Unicode form with a byte-order mark binds the same UTF-8 text, in element text
// and attribute values, whatever its declaration says.
TEST(UnicodeDocumentTest, EveryFormBindsTheSameText) {
    struct Form {
        char const* name;
        int width;
        bool big;
    };
    Form const forms[] = {
        {"UTF-16LE", 2, false}, {"UTF-16BE", 2, true}, {"UTF-32LE", 4, false}, {"UTF-32BE", 4, true}};
    std::u32string const document =
        U"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
        U"<a x=\"caf\u00E9 \U0001F600\"><t>\u20AC &lt;\u00E9&gt; \U0001F600</t></a>";
    std::string const path = (sim::specialFolder("Temp") / "unicode.xml").string();
    for (Form const& form : forms) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << encode(document, form.width, form.big);
        }
        DataFile file(String(path.c_str()), DataFile::readOnly, false);
        DataBufferIn stream(&file);
        XMLReader reader(&stream);
        String x;
        String t;
        test::Node node("a");
        node.fields.push_back([&x] { return new XMLTypeProxy<String>(x, "x", true); });
        node.fields.push_back([&t] { return new XMLTypeProxy<String>(t, "t"); });
        ASSERT_TRUE(reader.importTo(node)) << form.name;
        EXPECT_EQ(std::string(x.data()), "caf\xC3\xA9 \xF0\x9F\x98\x80") << form.name;
        EXPECT_EQ(std::string(t.data()), "\xE2\x82\xAC <\xC3\xA9> \xF0\x9F\x98\x80") << form.name;
    }
}
