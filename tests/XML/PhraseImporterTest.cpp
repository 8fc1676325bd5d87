#include "XML/XMLReader.h"

#include "Environment/DataBufferIn.h"
#include "XML/XMLGlossary.h"
#include "XML/XMLTypeProxy.h"

#include "XML/Node.h"

#include <gtest/gtest.h>

#include <string>

using namespace zelvane;
using Importer = XMLReader::PhraseImporter;

TEST(PhraseImporterTest, ItemsOfADocument) {
    String text(
        "<?xml version='1.0'?> lead <!-- c > d --><![CDATA[x<y]]><p:a b='1'>t &amp; u</p:a><e/><?pi?>");
    DataBufferIn stream(text);
    XMLGlossary glossary;
    Importer importer(&stream, &glossary);
    struct Item {
        char const* phrase;
        Importer::TagType kind;
        char const* tag;
        char const* nameSpace;
    };
    Item const items[] = {
        {"", Importer::declaration, "xml version='1.0'", ""},
        {" lead ", Importer::comment, " c > d ", ""},
        {"", Importer::cdata, "x<y", ""},
        {"", Importer::startTag, "a b='1'", "p"},
        {"t & u", Importer::endTag, "a", "p"},
        {"", Importer::emptyTag, "e", ""},
        {"", Importer::declaration, "pi", ""},
        {"", Importer::endOfInput, "", ""},
    };
    String phrase;
    String tag;
    String nameSpace;
    for (auto const& item : items) {
        EXPECT_TRUE(importer.getPhrase(phrase));
        EXPECT_EQ(phrase, item.phrase);
        EXPECT_EQ(importer.getTag(tag, nameSpace), item.kind) << item.tag;
        EXPECT_EQ(tag, item.tag);
        EXPECT_EQ(nameSpace, item.nameSpace);
    }
}

TEST(PhraseImporterTest, Replacements) {
    XMLGlossary glossary;
    Importer importer(nullptr, &glossary);
    struct Case {
        char const* name;
        char const* text;
    };
    Case const cases[] = {{"amp", "&"},
                          {"apos", "'"},
                          {"gt", ">"},
                          {"lt", "<"},
                          {"quot", "\""},
                          {"AMP", "?"},
                          {"#65", "A"},
                          {"#x41", "A"},
                          {"#X6a", "j"},
                          {"#x4142", "AB"},
                          {"#0", "?"},
                          {"#x80", "?"},
                          {"#9", "\t"},
                          {"#31", "?"},
                          {"#65abc", "A"},
                          {"#-1", "?"},
                          {"#x", "?"},
                          {"#xG1", "?"},
                          {"", "?"},
                          {"#x7E7E7E7E7E7E7E7E", "~~~~~~~~"},
                          // A hexadecimal number beyond 64 bits does not wrap, as a decimal one does not.
                          {"#x10000000000000041", "?"},
                          {"#x0000000000000000041", "A"},
                          {"#99999999999999999999", "?"}};
    for (auto const& c : cases) {
        EXPECT_EQ(importer.getReplacement(String(c.name)), c.text) << c.name;
    }
}

TEST(XMLReaderTest, EveryEncodingOfTheTable) {
    struct Case {
        char const* names;
        unsigned int code;
    };
    Case const cases[] = {
        {"utf-8", 99},
        {"utf-16", 100},
        {"iso-8859-1 iso-8859-9 iso-8859-14 iso-8859-15 windows-1252 cp-1252", 11},
        {"iso-8859-2 windows-1250 cp-1250", 12},
        {"iso-8859-4 iso-8859-10 iso-8859-13 iso-8859-16 windows-1257", 13},
        {"iso-8859-5 windows-1251", 14},
        {"iso-8859-7 windows-1253", 15},
        {"iso-8859-3 windows-1254", 16},
        {"iso-8859-8 windows-1255", 21},
        {"iso-8859-6 windows-1256", 22},
        {"iso-8859-11 windows-874 tis-620", 31},
        {"iso-2022-jp euc-jp shift-jis windows-932", 32},
        {"windows-950 big5 big5-hkscs", 33},
        {"windows-936 gb2312 cn-euc", 34},
        {"iso-2022-kr windows-949", 35},
    };
    for (auto const& c : cases) {
        std::string names = c.names;
        for (std::size_t start = 0; start < names.size();) {
            std::size_t end = names.find(' ', start);
            end = end == std::string::npos ? names.size() : end;
            std::string name = names.substr(start, end - start);
            start = end + 1;
            for (bool upper : {false, true}) {
                std::string declared = name;
                if (upper) {
                    for (char& ch : declared) {
                        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
                    }
                }
                String text(("<?xml version=\"1.0\" encoding=\"" + declared + "\"?>").c_str());
                DataBufferIn stream(text);
                XMLReader reader(&stream);
                test::Node node("n");
                EXPECT_TRUE(reader.importTo(node)) << declared;
                EXPECT_EQ(stream.getSourceEncoding(), c.code) << declared;
            }
        }
    }
}

TEST(XMLReaderTest, SetSourceReadsAnotherStream) {
    String first("<t>one</t>");
    String second("<t>two</t>");
    DataBufferIn firstStream(first);
    DataBufferIn secondStream(second);
    String value;
    test::Node node("n");
    node.fields.push_back([&value] { return new XMLTypeProxy<String>(value, "t"); });
    XMLReader reader(&firstStream);
    EXPECT_TRUE(reader.importTo(node));
    EXPECT_EQ(value, "one");
    reader.setSource(&secondStream);
    EXPECT_TRUE(reader.importTo(node));
    EXPECT_EQ(value, "two");
    // The stream reads UTF-8 text whatever it was made for.
    DataBufferIn latin(first, 11);
    reader.setSource(&latin);
    EXPECT_EQ(latin.getTargetEncoding(), 99u);
}
