#include "Environment/DataBufferIn.h"
#include "Library/LengthParameter.h"
#include "Library/LongParameter.h"
#include "Library/ParameterList.h"
#include "Library/StringParameter.h"
#include "Library/TitleParameter.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/ParameterShipping.h"
#include "Remap/SpecificationList.h"
#include "RemapFixture.h"

#include <memory>
#include <string>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

class CustomParametersTest : public RemapTest {};

// A map of one GSM list with one rule holding the parameters.
ObjectMap mapWith(std::shared_ptr<ParameterList> parameters) {
    ObjectMap map;
    map.addSource(String("Shop"), ObjectMap::GSM);
    auto* rule = new ObjectSpecification;
    rule->setOriginalName(String("Chair"));
    rule->setCustomParameters(std::move(parameters));
    map.getLists()[0]->push_back(rule);
    return map;
}

std::string ruleText(const std::string& parameters) {
    return std::string(remap_test::declaration) +
           "<objectMap>\n"
           "\t<specificationList sourceName=\"Shop\" objectType=\"GSM\">\n"
           "\t\t<objectSpecification>\n"
           "\t\t\t<originalName>Chair</originalName>\n"
           "\t\t\t<mappedName></mappedName>\n"
           "\t\t\t<mappedObjectGuid></mappedObjectGuid>\n" +
           parameters +
           "\t\t</objectSpecification>\n"
           "\t</specificationList>\n"
           "</objectMap>\n";
}

// The custom parameters of the first rule read from the text; null when the read failed.
std::shared_ptr<ParameterList> readParameters(const std::string& text) {
    ObjectMap map;
    String source(text.c_str());
    DataBufferIn stream(source);
    if (!readObjectMap(map, stream)) {
        return nullptr;
    }
    return map.getLists()[0]->front()->getCustomParameters();
}

std::string parameterElement(const char* attributes, const char* values) {
    return std::string(
               "<objectMap><specificationList sourceName=\"A\" objectType=\"GSM\"><objectSpecification>"
               "<originalName>o</originalName><customParameters><parameter ") +
           attributes + ">" + values +
           "</parameter></customParameters></objectSpecification>"
           "</specificationList></objectMap>";
}

} // namespace

TEST_F(CustomParametersTest, EveryKindNameBothWays) {
    for (const char* kind : {"angle", "boolean", "colour", "float", "fill", "intensity", "length", "long",
                             "linestyle", "material", "pen", "short", "string", "switch"}) {
        std::unique_ptr<Parameter> made(ParameterShipping::make(String(kind), String("P"), 1, 1));
        ASSERT_NE(made, nullptr) << kind;
        EXPECT_STREQ(ParameterShipping::kindOf(*made), kind);
        EXPECT_EQ(made->getName(), "P");
        EXPECT_FALSE(made->isArray()) << kind;
    }
    EXPECT_EQ(ParameterShipping::make(String("Unknown"), String("P"), 1, 1), nullptr);
    EXPECT_EQ(ParameterShipping::make(String("Length"), String("P"), 1, 1), nullptr)
        << "names compare exactly";
    TitleParameter title;
    EXPECT_EQ(ParameterShipping::kindOf(title), nullptr);
}

TEST_F(CustomParametersTest, WrittenRowByRowOnlyWhenThereAreValues) {
    auto parameters = std::make_shared<ParameterList>();
    auto* table = new LengthParameter(String("widths"), String("d"), 0.0, 0, 2, 3);
    for (std::size_t cell = 0; cell < 6; ++cell) {
        table->setValue(0.5 * double(cell) + 1.0 / 3.0, cell / 3, cell % 3);
    }
    parameters->addParameter(table);
    parameters->addParameter(new TitleParameter);
    parameters->addParameter(new LongParameter(String("count"), String(), 100000));
    parameters->addParameter(new StringParameter(String("note"), String(), String("a < b")));
    ObjectMap map = mapWith(parameters);
    const std::string text =
        ruleText("\t\t\t<customParameters>\n"
                 "\t\t\t\t<parameter name=\"widths\" type=\"length\" columnCount=\"3\">\n"
                 "\t\t\t\t\t<value>0.333333</value>\n"
                 "\t\t\t\t\t<value>0.833333</value>\n"
                 "\t\t\t\t\t<value>1.33333</value>\n"
                 "\t\t\t\t\t<value>1.83333</value>\n"
                 "\t\t\t\t\t<value>2.33333</value>\n"
                 "\t\t\t\t\t<value>2.83333</value>\n"
                 "\t\t\t\t</parameter>\n"
                 "\t\t\t\t<parameter name=\"count\" type=\"long\">\n"
                 "\t\t\t\t\t<value>100000</value>\n"
                 "\t\t\t\t</parameter>\n"
                 "\t\t\t\t<parameter name=\"note\" type=\"string\">\n"
                 "\t\t\t\t\t<value>a &lt; b</value>\n"
                 "\t\t\t\t</parameter>\n"
                 "\t\t\t</customParameters>\n");
    EXPECT_EQ(remap_test::xmlOf(map), text);

    std::shared_ptr<ParameterList> read = readParameters(text);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->size(), 3u);
    auto* widths = dynamic_cast<LengthParameter*>(read->getParameter(std::size_t(0)));
    ASSERT_NE(widths, nullptr);
    EXPECT_EQ(widths->getRowCount(), 2u);
    EXPECT_EQ(widths->getColumnCount(), 3u);
    EXPECT_DOUBLE_EQ(widths->getValue(1, 0), 1.83333) << "the second row first";
    EXPECT_EQ(widths->getDescription(), "");
    auto* count = dynamic_cast<LongParameter*>(read->getParameter(String("count")));
    ASSERT_NE(count, nullptr) << "a long value stays long";
    EXPECT_EQ(count->getValue(), 100000);
    EXPECT_EQ(read->getParameter(String("note"))->getValueText(), "a < b");

    for (auto none : {std::shared_ptr<ParameterList>(), std::make_shared<ParameterList>()}) {
        ObjectMap empty = mapWith(none);
        EXPECT_EQ(remap_test::xmlOf(empty), ruleText("")) << "no customParameters element";
    }
}

TEST_F(CustomParametersTest, ShortValuesAndOldFilesReadBack) {
    std::shared_ptr<ParameterList> read =
        readParameters(parameterElement("name=\"A\" type=\"short\"", "<value>70000</value>") +
                       "\n"); // a short parameter keeps 16 bits, as it always did
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getParameter(std::size_t(0))->getTypeID(), 1);
    EXPECT_EQ(dynamic_cast<LongParameter*>(read->getParameter(std::size_t(0))), nullptr);

    read = readParameters(
        parameterElement("type=\"long\" name=\"B\" columnCount=\"1\"", "<value>-70000</value>"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getParameter(std::size_t(0))->getValueText(), "-70000");
}

TEST_F(CustomParametersTest, BadParametersFailTheRead) {
    struct Case {
        const char* attributes;
        const char* values;
    };
    for (const Case& c : {
             Case{"name=\"A\" type=\"Unknown\"", "<value>1</value>"},
             Case{"name=\"A\" type=\"Length\"", "<value>1</value>"},
             Case{"name=\"A\"", "<value>1</value>"},
             Case{"type=\"length\"", "<value>1</value>"},
             Case{"name=\"\" type=\"length\"", "<value>1</value>"},
             Case{"name=\"A\" type=\"length\" columnCount=\"0\"", "<value>1</value>"},
             Case{"name=\"A\" type=\"length\" columnCount=\"-2\"", "<value>1</value><value>2</value>"},
             Case{"name=\"A\" type=\"length\" columnCount=\"two\"", "<value>1</value>"},
             Case{"name=\"A\" type=\"length\" columnCount=\"2\"",
                  "<value>1</value><value>2</value><value>3</value><value>4</value><value>5</value>"},
             Case{"name=\"A\" type=\"length\"", ""},
         }) {
        EXPECT_EQ(readParameters(parameterElement(c.attributes, c.values)), nullptr)
            << c.attributes << " " << c.values;
    }
    ASSERT_NE(
        readParameters(parameterElement("name=\"A\" type=\"length\" columnCount=\"2\"",
                                        "<value>1</value><value>2</value><value>3</value><value>4</value>")),
        nullptr)
        << "the same parameter with whole rows";
}
