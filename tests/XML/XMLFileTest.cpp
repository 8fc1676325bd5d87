#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/DataFile.h"
#include "XML/XMLTypeProxy.h"

#include "XML/Node.h"

#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace zelvane;
using test::Node;

namespace {

std::string pathOf(char const* name) {
    return (sim::specialFolder("Temp") / name).string();
}

void putBytes(char const* name, std::string const& bytes) {
    std::ofstream out(pathOf(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string utf16(std::string const& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

struct Text {
    Text() {
        node.fields.push_back([this] { return new XMLTypeProxy<String>(t, "t"); });
    }
    Node node{"n"};
    String t;
};

bool importFile(char const* name, XMLShipping& object) {
    DataFile file(String(pathOf(name).c_str()), DataFile::readOnly, false);
    DataBufferIn stream(&file);
    XMLReader reader(&stream);
    return reader.importTo(object);
}

} // namespace

TEST(XMLFileTest, ByteOrderMarkOutranksTheDeclaration) {
    // A UTF-8 mark keeps the two bytes of "é" one character although the declaration says Latin-1.
    putBytes("marked.xml",
             "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><n><t>\xC3\xA9</t></n>");
    Text text;
    ASSERT_TRUE(importFile("marked.xml", text.node));
    EXPECT_EQ(text.t, "\xC3\xA9");

    putBytes("wide.xml", utf16("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><n><t>wide</t></n>"));
    Text wide;
    ASSERT_TRUE(importFile("wide.xml", wide.node));
    EXPECT_EQ(wide.t, "wide");

    // Without a mark the declaration decides.
    putBytes("latin.xml", "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><n><t>\xE9</t></n>");
    Text latin;
    ASSERT_TRUE(importFile("latin.xml", latin.node));
    EXPECT_EQ(latin.t, "\xC3\xA9");
}

TEST(XMLFileTest, ReadFailureFailsTheRead) {
    putBytes("broken.xml", "<n><t>text</t></n>");
    // The first read looks for a byte-order mark; the second loads the text.
    sim::failRead(ErrIO, 1, 1);
    Text text;
    EXPECT_FALSE(importFile("broken.xml", text.node));
    EXPECT_TRUE(text.t.empty());
}

TEST(XMLFileTest, FailureFoundByTheLastFlushFailsTheWrite) {
    putBytes("out.xml", "");
    DataFile file(String(pathOf("out.xml").c_str()), DataFile::readWrite, false);
    DataBufferOut stream(&file);
    XMLWriter writer(&stream);
    Text text;
    text.t = "small";
    sim::failWritesAfter(10);
    EXPECT_FALSE(writer.exportFrom(text.node));
    EXPECT_NE(stream.getLastError(), 0);
}
