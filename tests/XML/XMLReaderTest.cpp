#include "XML/XMLReader.h"

#include "Environment/DataBufferIn.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include "XML/Node.h"
#include "XML/SampleBindings.h"

#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

using namespace zelvane;
using test::Node;

namespace {

bool imported(char const* document, XMLShipping& object) {
    String text(document);
    DataBufferIn stream(text, 99);
    XMLReader reader(&stream);
    return reader.importTo(object);
}

// An assembly "a" with String fields x and y (attributes) and t (element), and a bool field b.
struct Fields {
    Fields() : node("a") {
        node.fields.push_back([this] { return new XMLTypeProxy<String>(x, "x", true); });
        node.fields.push_back([this] { return new XMLTypeProxy<String>(y, "y", true); });
        node.fields.push_back([this] { return new XMLTypeProxy<String>(t, "t"); });
        node.fields.push_back([this] { return new XMLTypeProxy<bool>(b, "b"); });
        node.fields.push_back([this] { return new XMLAssemblyProxy(child); });
    }
    Node node;
    Node child{"c"};
    String x, y, t;
    bool b = false;
};

} // namespace

TEST(XMLReaderTest, EmptyInputAndForeignRoot) {
    Fields f;
    EXPECT_TRUE(imported("", f.node));
    EXPECT_EQ(f.node.defaults, 0);
    XMLReader noStream;
    EXPECT_TRUE(noStream.importTo(f.node));
    EXPECT_EQ(noStream.getRowPosition(), 1);

    EXPECT_TRUE(imported("<other x='1'><t>no</t><a><t>deep</t></a></other>", f.node));
    EXPECT_TRUE(f.t.empty());
    EXPECT_TRUE(f.x.empty());
}

TEST(XMLReaderTest, RootRuleAndFieldSequence) {
    Fields f;
    EXPECT_TRUE(
        imported("<?xml version=\"1.0\"?>\n<a x=\"1\" y='2'>\n\t<t>text</t>\n\t<b>true</b>\n</a>\n", f.node));
    EXPECT_EQ(f.x, "1");
    EXPECT_EQ(f.y, "2");
    EXPECT_EQ(f.t, "text");
    EXPECT_TRUE(f.b);
    EXPECT_EQ(f.node.defaults, 1);
    EXPECT_EQ(f.node.validations, 1);

    // The same fields as a sequence at the top level.
    Fields g;
    EXPECT_TRUE(imported("<t>one</t><b>1</b><x>3</x>", g.node));
    EXPECT_EQ(g.t, "one");
    EXPECT_TRUE(g.b);
    EXPECT_EQ(g.x, "3");
    EXPECT_EQ(g.node.defaults, 0);

    Fields h;
    EXPECT_TRUE(imported("<a x=\"1\" y='2'/>", h.node));
    EXPECT_EQ(h.x, "1");
    EXPECT_EQ(h.y, "2");
}

TEST(XMLReaderTest, ContainersStartFromTheirDefaults) {
    Fields f;
    f.t = "kept";
    int childDefaults = 0;
    f.child.onDefault = [&] { ++childDefaults; };
    EXPECT_TRUE(imported("<c/><c></c>", f.node));
    EXPECT_EQ(childDefaults, 2);
    EXPECT_EQ(f.child.validations, 2);
    // A leaf keeps its value until its text arrives.
    EXPECT_TRUE(imported("<t></t>", f.node));
    EXPECT_EQ(f.t, "kept");
}

TEST(XMLReaderTest, MarkupItems) {
    Fields f;
    EXPECT_TRUE(imported("<!-- a > b --><t><![CDATA[a>b]]></t><?pi x > y ?>", f.node));
    EXPECT_EQ(f.t, "a>b");
    EXPECT_TRUE(imported("<t><![CDATA[&lt; stays]]></t>", f.node));
    EXPECT_EQ(f.t, "&lt; stays");
    // Markup is told by its leading characters: "?", "!--" and "![CDATA[" further in are text.
    EXPECT_TRUE(imported("<a x=\"why?\" y=\"!--\"><t>q?</t></a>", f.node));
    EXPECT_EQ(f.x, "why?");
    EXPECT_EQ(f.y, "!--");
    EXPECT_EQ(f.t, "q?");
    EXPECT_TRUE(imported("<a x='![CDATA[' y=\"--\"/>", f.node));
    EXPECT_EQ(f.x, "![CDATA[");
    EXPECT_EQ(f.y, "--");
    // Trailing white space, white space after "<", and a prefix on an empty-element tag.
    EXPECT_TRUE(imported("< t >spaced</t  ><p:a x='7' />", f.node));
    EXPECT_EQ(f.t, "spaced");
    EXPECT_EQ(f.x, "7");

    char const* malformed[] = {
        "<>",
        "< >",
        "</>",
        "< />",
        "<t",
        "<t>x</u>",
        "<t>x",
        "<a><t>x</t>",
        "<!-- never closed",
        "<!-- a -- b > c -->",
        "<![CDATA[x]]y>z]]>",
        "<?pi unterminated",
        "<?pi a?b> ?>",
        "<!DOCTYPE a SYSTEM \"a.dtd\">",
        "<a x>",
        "<a =\"1\"/>",
        "<a x=\"1/>",
        "<a x=1/>",
        "<a &x='1'/>",
        "<b>maybe</b>",
    };
    for (char const* document : malformed) {
        Fields g;
        EXPECT_FALSE(imported(document, g.node)) << document;
    }
}

TEST(XMLReaderTest, References) {
    struct Case {
        char const* text;
        char const* expected;
        bool complete;
    };
    Case const cases[] = {
        {"&lt;&gt;&amp;&apos;&quot;", "<>&'\"", true},
        {"&nbsp;x", "?x", true},
        {"&#0;&#x110000;&#xZZ;&#;&#x;", "?????", true},
        {"&#9;&#10;&#13;&#8;", "\t\n\r?", true},
        {"&#65;&#x4142;&#x4a;&#x4A;&#X4a;", "AABJJJ", true},
        // Numbers whose bytes are not all text are the Unicode characters of that number.
        {"&#x4100;&#x41000000;", "\xE4\x84\x80?", true},
        {"Caf&#233;&#xE9;&#x1F600;", "Caf\xC3\xA9\xC3\xA9\xF0\x9F\x98\x80", true},
        {"&#xA0;&#x7FF;&#x800;&#x20AC;&#xFFFD;&#x10000;&#x10FFFD;",
         "\xC2\xA0\xDF\xBF\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBD", true},
        {"&#xD800;&#xDFFF;&#x7F;&#x263A;", "??\x7F&:", true},
        // What a standard parser refuses or takes for no text: C1 controls and non-characters.
        {"&#x80;&#x9F;&#159;&#xFFFE;&#xFFFF;&#xFDD0;&#xFDEF;&#x1FFFE;&#x10FFFF;&#xFDCF;&#xFDF0;",
         "?????????\xEF\xB7\x8F\xEF\xB7\xB0", true},
        {"&amp;lt;", "&lt;", true},
        {"a & b", "a & b", false},
        {"&lt; & b", "< & b", false},
        {"  spaced\t\n", "  spaced\t\n", true},
    };
    for (auto const& c : cases) {
        Fields f;
        std::string document = std::string("<t>") + c.text + "</t>";
        EXPECT_TRUE(imported(document.c_str(), f.node)) << c.text;
        EXPECT_EQ(f.t, c.expected) << c.text;
        String text(c.text);
        XMLReader reader;
        EXPECT_EQ(reader.fromXMLString(text), c.complete) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
    }
    Fields f;
    EXPECT_TRUE(imported("<a x=\"&lt;&#65;&quot;\"/>", f.node));
    EXPECT_EQ(f.x, "<A\"");
}

TEST(XMLReaderTest, TextReachesReadInPieces) {
    Node node("n");
    EXPECT_TRUE(imported("<n> one <!-- c --> two <x>skipped</x>three</n>", node));
    ASSERT_EQ(node.texts.size(), 3u);
    EXPECT_EQ(node.texts[0], " one ");
    EXPECT_EQ(node.texts[1], " two ");
    EXPECT_EQ(node.texts[2], "three");

    Fields f;
    EXPECT_TRUE(imported("<t>first<!-- c -->last</t>", f.node));
    EXPECT_EQ(f.t, "last");
}

TEST(XMLReaderTest, EndTagsMustMatch) {
    Node node("n", "ns");
    EXPECT_TRUE(imported("<ns:n></ns:n>", node));
    EXPECT_TRUE(imported("<n></ns:n>", node));
    EXPECT_FALSE(imported("<ns:n></n>", node));
    EXPECT_FALSE(imported("<ns:n></other:n>", node));
    Node plain("n");
    EXPECT_TRUE(imported("<n></any:n>", plain));
    plain.valid = false;
    EXPECT_FALSE(imported("<n></n>", plain));
    EXPECT_FALSE(imported("<n/>", plain));
}

TEST(XMLReaderTest, DeclarationsChooseTheEncoding) {
    struct Case {
        char const* declaration;
        unsigned int code;
    };
    Case const cases[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 11},
        {"<?xml version='1.0' encoding='GB2312' ?>", 34},
        // An unknown name gives the host's code 0, which streams read as UTF-8.
        {"<?XML encoding=\"klingon\"?>", 99},
        {"<?xml encoding=\"windows-1250\"?>", 12},
        {"<?xml version=\"1.0\"?>", 99},
        {"<?xml encoding=\"utf-16\"?>", 100},
        {"<?other encoding=\"iso-8859-5\"?>", 99},
    };
    for (auto const& c : cases) {
        String text((std::string(c.declaration) + "<n/>").c_str());
        DataBufferIn stream(text, 99);
        XMLReader reader(&stream);
        Node node("n");
        EXPECT_TRUE(reader.importTo(node)) << c.declaration;
        EXPECT_EQ(stream.getSourceEncoding(), c.code) << c.declaration;
    }
    Node node("n");
    EXPECT_FALSE(imported("<?xml version=\"1.0\" encoding?>", node));
}

TEST(XMLReaderTest, LatinDocumentKeepsItsCharacters) {
    // "é" in ISO-8859-1 is the byte E9, in text and in an attribute value.
    Fields f;
    EXPECT_TRUE(imported(
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a x=\"caf\xE9\"><t>\xE9t\xE9</t></a>", f.node));
    EXPECT_EQ(f.x, "caf\xC3\xA9");
    EXPECT_EQ(f.t, "\xC3\xA9t\xC3\xA9");
}

TEST(XMLReaderTest, NestingIsBounded) {
    auto nested = [](int depth) {
        std::string document;
        for (int i = 0; i < depth; ++i) {
            document += "<d>";
        }
        for (int i = 0; i < depth; ++i) {
            document += "</d>";
        }
        return document;
    };
    Node node("n");
    EXPECT_TRUE(imported(nested(XMLReader::maxDepth).c_str(), node));
    EXPECT_FALSE(imported(nested(XMLReader::maxDepth + 1).c_str(), node));
    EXPECT_FALSE(imported(nested(100000).c_str(), node));
}

TEST(XMLReaderTest, ArraysAndMaps) {
    sample::ObjectMap map;
    char const* document =
        "<objectMap version=\"3\" library=\"lib\">"
        "<entries><entry sourceName=\"s1\"><name>one</name><unknown><x/></unknown></entry>"
        "<other/><entry><params><param name=\"p\"><value>v</value></param></params></entry>"
        "</entries>"
        "<records><record key=\"{00000000-0000-0000-0000-000000000001}\" amount=\"1.005\">"
        "<name>r</name><day>2017-03-05</day></record></records></objectMap>";
    ASSERT_TRUE(imported(document, map));
    EXPECT_EQ(map.version, 3);
    EXPECT_EQ(map.library, "lib");
    ASSERT_EQ(map.entries.entries.size(), 2u);
    EXPECT_EQ(map.entries.entries[0]->sourceName, "s1");
    EXPECT_EQ(map.entries.entries[0]->name, "one");
    ASSERT_EQ(map.entries.entries[1]->params.entries.size(), 1u);
    EXPECT_EQ(map.entries.entries[1]->params.entries[0]->value, "v");
    ASSERT_EQ(map.records.records.size(), 1u);
    EXPECT_EQ(map.records.records[0].second->name, "r");
    EXPECT_DOUBLE_EQ(map.records.records[0].second->amount, 1.0);

    // The map refuses a second record of the same key and any element that is not a record.
    sample::ObjectMap again;
    EXPECT_FALSE(imported("<objectMap><records><record key=\"{00000000-0000-0000-0000-000000000001}\"/>"
                          "<record key=\"{00000000-0000-0000-0000-000000000001}\"/></records></objectMap>",
                          again));
    EXPECT_FALSE(imported("<records><junk>1</junk></records>", again));
    // A map read as the document's own root takes its entries.
    sample::RecordMap records;
    EXPECT_TRUE(
        imported("<records><record key=\"{00000000-0000-0000-0000-000000000002}\"/></records>", records));
    EXPECT_EQ(records.records.size(), 1u);
}

TEST(XMLReaderTest, PositionAfterAFailure) {
    String text("<a>\n<t>x</t>\n<b>no</b>\n</a>");
    DataBufferIn stream(text, 99);
    XMLReader reader(&stream);
    Fields f;
    EXPECT_FALSE(reader.importTo(f.node));
    EXPECT_EQ(reader.getRowPosition(), 3);
    EXPECT_GT(reader.getColPosition(), 0);
}

TEST(XMLReaderTest, AllocationFailureMidwayLosesNothing) {
    for (int step = 0; step < 3; ++step) {
        Fields f;
        f.child.onDefault = [step] { sim::failNextAllocations(1 + step); };
        EXPECT_THROW(imported("<a x='1'><c y='2'><t>x</t></c><t>text</t></a>", f.node), std::bad_alloc);
        sim::failNextAllocations(0);
    }
}

// Plain attributes are bound straight from the tag, others through an attribute document: both
// ways give the same result. A name that is not plain ("z!") sends the whole tag the second way.
TEST(XMLReaderTest, AttributesBindAlikeEitherWay) {
    struct Case {
        char const* attributes;
        bool ok;
        char const* x;
        char const* y;
    };
    Case const cases[] = {
        {"x=\"1\" y='2'", true, "1", "2"},
        {"x=\"a &amp; b\" y=\"&#65;&unknown;\"", true, "a & b", "A?"},
        {"p:x=\"ns\"", true, "ns", ""},
        {"x=\"\" y=\"kept\"", true, "", "kept"},
        {"x = \"spaced\"   y=\"tabs\t\"", true, "spaced", "tabs\t"},
        {"unknown=\"1\" x=\"2\"", true, "2", ""},
        {"t=\"as element\"", true, "", ""},
        {"b=\"maybe\"", false, "", ""},
        {"b=\"TRUE\" x=\"after\"", true, "after", ""},
    };
    for (auto const& c : cases) {
        for (bool plain : {true, false}) {
            std::string document = std::string("<a ") + c.attributes + (plain ? "" : " z!=\"0\"") + "/>";
            Fields f;
            EXPECT_EQ(imported(document.c_str(), f.node), c.ok) << document;
            if (c.ok) {
                EXPECT_EQ(f.x, c.x) << document;
                EXPECT_EQ(f.y, c.y) << document;
            }
        }
    }
    // A field with a namespace takes only that prefix, both ways.
    for (char const* extra : {"", " z!=\"0\""}) {
        String value;
        Node node("n");
        node.fields.push_back([&value] { return new XMLTypeProxy<String>(value, "v", true, "q"); });
        EXPECT_TRUE(imported((std::string("<n q:v=\"1\"") + extra + "/>").c_str(), node)) << extra;
        EXPECT_EQ(value, "1");
        EXPECT_FALSE(imported((std::string("<n p:v=\"2\"") + extra + "/>").c_str(), node)) << extra;
    }
    // Attributes of a leaf are ignored.
    Fields f;
    EXPECT_TRUE(imported("<t lang=\"en\" b=\"maybe\">text</t><b x='1'>1</b>", f.node));
    EXPECT_EQ(f.t, "text");
    EXPECT_TRUE(f.b);
    // A map hands even an unknown attribute's element to its insertion, which refuses it.
    sample::RecordMap records;
    EXPECT_FALSE(imported("<records extra=\"1\"/>", records));
    EXPECT_FALSE(imported("<records extra=\"1\" z!=\"0\"/>", records));
}
