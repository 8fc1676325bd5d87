#include "XML/XMLWriter.h"

#include "Environment/DataBufferOut.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include "XML/Node.h"

#include <gtest/gtest.h>

using namespace zelvane;
using test::Node;

namespace {

struct Options {
    bool header = false;
    bool indent = true;
    bool lineBreaks = true;
    bool nameSpaces = true;
};

String exported(XMLShipping& object, Options options = {}, bool* result = nullptr) {
    String text;
    {
        DataBufferOut stream(&text);
        XMLWriter writer(&stream);
        bool ok =
            writer.exportFrom(object, options.header, options.indent, options.lineBreaks, options.nameSpaces);
        if (result != nullptr) {
            *result = ok;
        }
    }
    return text;
}

// A leaf that writes a fixed text, or fails.
struct FixedLeaf : XMLUnit {
    FixedLeaf(char const* tag, char const* text, bool attribute = false, bool ok = true)
        : XMLUnit(attribute), tag(tag), text(text), ok(ok) {}
    char const* getTag() const override { return tag; }
    bool write(String& out) override {
        out = text;
        return ok;
    }
    bool read(String const&) override { return true; }
    void setDefault() override {}
    char const* tag;
    char const* text;
    bool ok;
};

} // namespace

TEST(XMLWriterTest, ContainerOfAttributesIsOneEmptyElementTag) {
    Node node("a");
    node.fields.push_back([] { return new FixedLeaf("x", "1", true); });
    node.fields.push_back([] { return new FixedLeaf("y", "two", true); });
    EXPECT_EQ(exported(node), "<a x=\"1\" y=\"two\"/>\n");

    Node empty("e");
    EXPECT_EQ(exported(empty), "<e/>\n");
    // Without an attribute pass even an empty container has a start and an end tag.
    empty.attributes = false;
    EXPECT_EQ(exported(empty), "<e></e>\n");
}

TEST(XMLWriterTest, IndentationAndLineBreaks) {
    Node inner("e");
    Node root("r");
    root.fields.push_back([] { return new FixedLeaf("t", "x"); });
    root.fields.push_back([&inner] { return new XMLAssemblyProxy(inner); });
    EXPECT_EQ(exported(root), "<r>\n\t<t>x</t>\n\t<e/>\n</r>\n");

    Options noBreaks;
    noBreaks.lineBreaks = false;
    EXPECT_EQ(exported(root, noBreaks), "<r><t>x</t><e/></r>");

    Options noIndent;
    noIndent.indent = false;
    EXPECT_EQ(exported(root, noIndent), "<r>\n<t>x</t>\n<e/>\n</r>\n");

    Options header;
    header.header = true;
    EXPECT_EQ(exported(inner, header), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<e/>\n");
    header.lineBreaks = false;
    EXPECT_EQ(exported(inner, header), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><e/>");
}

TEST(XMLWriterTest, DeepNestingIndentsOneTabALevel) {
    Node c("c");
    c.fields.push_back([] { return new FixedLeaf("d", ""); });
    Node b("b");
    b.fields.push_back([&c] { return new XMLAssemblyProxy(c); });
    Node a("a");
    a.fields.push_back([&b] { return new XMLAssemblyProxy(b); });
    a.fields.push_back([] { return new FixedLeaf("z", "1"); });
    EXPECT_EQ(exported(a), "<a>\n\t<b>\n\t\t<c>\n\t\t\t<d></d>\n\t\t</c>\n\t</b>\n\t<z>1</z>\n</a>\n");
}

TEST(XMLWriterTest, EssentialAttributeAndElementPasses) {
    Node node("n");
    node.fields.push_back([] {
        auto* leaf = new FixedLeaf("hidden", "h", true);
        leaf->setEssential(false);
        return leaf;
    });
    node.fields.push_back([] {
        auto* leaf = new FixedLeaf("gone", "g");
        leaf->setEssential(false);
        return leaf;
    });
    node.fields.push_back([] { return new FixedLeaf("kept", "k"); });
    node.fields.push_back([] { return nullptr; });
    node.fields.push_back([] { return new FixedLeaf("at", "v", true); });
    EXPECT_EQ(exported(node), "<n at=\"v\">\n\t<kept>k</kept>\n</n>\n");

    // A null field alone still makes element content.
    Node nulls("m");
    nulls.fields.push_back([] { return nullptr; });
    EXPECT_EQ(exported(nulls), "<m></m>\n");

    // Attribute leaves of a container without attributes are written nowhere.
    node.attributes = false;
    EXPECT_EQ(exported(node), "<n>\n\t<kept>k</kept>\n</n>\n");
}

TEST(XMLWriterTest, EscapingInTextAndAttributes) {
    Node node("n");
    node.fields.push_back([] { return new FixedLeaf("a", "<&>\"'?", true); });
    node.fields.push_back([] { return new FixedLeaf("t", "a<b&c"); });
    node.fields.push_back([] { return new FixedLeaf("u", "&amp; \xC3\xA9"); });
    EXPECT_EQ(exported(node), "<n a=\"&lt;&amp;&gt;&quot;&apos;?\">\n\t<t>a&lt;b&amp;c</t>\n"
                              "\t<u>&amp;amp; \xC3\xA9</u>\n</n>\n");

    XMLWriter writer;
    String text("x & y < z > \"q\" 'p'");
    EXPECT_EQ(writer.toXMLString(text), "x &amp; y &lt; z &gt; &quot;q&quot; &apos;p&apos;");
    String plain("plain");
    EXPECT_EQ(writer.toXMLString(plain), "plain");
}

TEST(XMLWriterTest, NameSpacePrefixes) {
    Node node("n", "ns");
    String v("v");
    String w("w");
    node.fields.push_back([&v] { return new XMLTypeProxy<String>(v, "a", true, "p"); });
    node.fields.push_back([&w] { return new XMLTypeProxy<String>(w, "b", false, "q"); });
    EXPECT_EQ(exported(node), "<ns:n p:a=\"v\">\n\t<q:b>w</q:b>\n</ns:n>\n");
    Options plain;
    plain.nameSpaces = false;
    EXPECT_EQ(exported(node, plain), "<n a=\"v\">\n\t<b>w</b>\n</n>\n");
}

TEST(XMLWriterTest, FailuresPassStraightUp) {
    Node node("n");
    node.fields.push_back([] { return new FixedLeaf("ok", "1"); });
    node.fields.push_back([] { return new FixedLeaf("bad", "2", false, false); });
    node.fields.push_back([] { return new FixedLeaf("never", "3"); });
    bool result = true;
    String text = exported(node, {}, &result);
    EXPECT_FALSE(result);
    EXPECT_EQ(text, "<n>\n\t<ok>1</ok>\n\t<bad>");

    // The answer of an attribute leaf's write is not looked at.
    Node attributes("m");
    attributes.fields.push_back([] { return new FixedLeaf("a", "1", true, false); });
    EXPECT_EQ(exported(attributes, {}, &result), "<m a=\"1\"/>\n");
    EXPECT_TRUE(result);
}

TEST(XMLWriterTest, DepthIsKeptAcrossCalls) {
    String text;
    DataBufferOut stream(&text);
    XMLWriter writer(&stream);
    Node first("a");
    first.fields.push_back([] { return new FixedLeaf("t", "x"); });
    Node second("b");
    EXPECT_TRUE(writer.exportFrom(first, false, false, false, false));
    EXPECT_TRUE(writer.exportFrom(second, false, false, false, false));
    EXPECT_EQ(text, "<a><t>x</t></a><b/>");

    // A writer without a stream of the caller writes nowhere and still answers.
    XMLWriter own;
    EXPECT_TRUE(own.exportFrom(first));
    String other;
    DataBufferOut otherStream(&other);
    own.setDestination(&otherStream);
    EXPECT_TRUE(own.exportFrom(second, false));
    otherStream.flushBuffer();
    EXPECT_EQ(other, "<b/>\n");
}
