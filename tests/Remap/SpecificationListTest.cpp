#include "Remap/SpecificationList.h"
#include "Environment/DataBufferIn.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/ObjectSpecification.h"
#include "RemapFixture.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;

namespace {

// A rule told apart by its mapped name.
ObjectSpecification* makeRule(API_LibTypeID type, const char* original, const char* id) {
    auto* rule = new ObjectSpecification;
    rule->setMappedType(type);
    rule->setOriginalName(String(original));
    rule->setMappedName(String(id));
    return rule;
}

ObjectSpecification* ruleWithId(const SpecificationList& list, const char* id) {
    auto found = std::find_if(list.begin(), list.end(),
                              [id](const ObjectSpecification* rule) { return rule->getMappedName() == id; });
    return found != list.end() ? *found : nullptr;
}

// The answers to the keys searched in every step: the rule's id, "-" for none.
const ObjectMap::Key keys[] = {
    {APILib_ObjectID, String("CHAIR")},
    {APILib_DoorID, String("chair")},
    {APILib_ObjectID, String("desk")},
    {APILib_ObjectID, String("Sofa")},
};

std::vector<std::string> answersOf(const SpecificationList& list) {
    std::vector<std::string> answers;
    for (const ObjectMap::Key& key : keys) {
        ObjectSpecification* rule = list.find(key);
        answers.push_back(rule != nullptr ? rule->getMappedName().data() : "-");
    }
    return answers;
}

// Object "Chair" A and "chair" B (the same key), door "Chair" C, object "Desk" D.
void fill(SpecificationList& list) {
    list.push_back(makeRule(APILib_ObjectID, "Chair", "A"));
    list.push_back(makeRule(APILib_ObjectID, "chair", "B"));
    list.push_back(makeRule(APILib_DoorID, "Chair", "C"));
    list.push_back(makeRule(APILib_ObjectID, "Desk", "D"));
}

} // namespace

// Each step changes the list searched in the step before: the first rule of a key in list order
// answers it, whatever the letter case, and only for its own part type.
TEST(SpecificationListTest, TheFirstRuleOfAKeyAnswersAfterEveryChange) {
    SpecificationList list(String("Default"), ObjectMap::GSM);
    fill(list);
    std::unique_ptr<ObjectSpecification> released;
    struct Step {
        const char* label;
        std::function<void()> change;
        std::vector<std::string> answers;
    };
    const Step steps[] = {
        {"as made", [] {}, {"A", "C", "D", "-"}},
        {"appended to a known key",
         [&] { list.push_back(makeRule(APILib_ObjectID, "CHAIR", "E")); },
         {"A", "C", "D", "-"}},
        {"appended to a new key",
         [&] { list.push_back(makeRule(APILib_ObjectID, "sofa", "F")); },
         {"A", "C", "D", "F"}},
        {"first of a key deleted", [&] { list.erase(list.cbegin()); }, {"B", "C", "D", "F"}},
        {"renamed away",
         [&] { ruleWithId(list, "B")->setOriginalName(String("Stool")); },
         {"E", "C", "D", "F"}},
        {"type changed",
         [&] { ruleWithId(list, "C")->setMappedType(APILib_ObjectID); },
         {"C", "-", "D", "F"}},
        {"put first", [&] { list.push_front(makeRule(APILib_DoorID, "chair", "G")); }, {"C", "G", "D", "F"}},
        {"inserted before the first of a key",
         [&] { list.insert(std::next(list.cbegin()), makeRule(APILib_ObjectID, "Chair", "H")); },
         {"H", "G", "D", "F"}},
        {"assigned another rule",
         [&] {
             std::unique_ptr<ObjectSpecification> desk(makeRule(APILib_ObjectID, "Desk", "I"));
             *ruleWithId(list, "H") = *desk;
         },
         {"C", "G", "I", "F"}},
        {"released", [&] { released.reset(list.release(list.cbegin())); }, {"C", "-", "I", "F"}},
        {"released rule renamed", [&] { released->setOriginalName(String("Desk")); }, {"C", "-", "I", "F"}},
        {"last deleted", [&] { list.pop_back(); }, {"C", "-", "I", "-"}},
        {"cleared", [&] { list.clear(); }, {"-", "-", "-", "-"}},
        {"filled again", [&] { fill(list); }, {"A", "C", "D", "-"}},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(answersOf(list), step.answers) << step.label;
    }
}

// A copy's rules are its own: a change to one list leaves the other's answers as they were.
TEST(SpecificationListTest, CopiesAnswerForThemselves) {
    SpecificationList list(String("Default"), ObjectMap::GSM);
    fill(list);
    ASSERT_EQ(answersOf(list), (std::vector<std::string>{"A", "C", "D", "-"}));
    struct Case {
        const char* label;
        std::function<SpecificationList*(SpecificationList&)> copy;
    };
    std::unique_ptr<SpecificationList> cloned;
    SpecificationList assigned;
    const Case cases[] = {
        {"cloned", [&](SpecificationList& from) { return (cloned.reset(from.clone()), cloned.get()); }},
        {"assigned", [&](SpecificationList& from) { return &(assigned = from); }},
    };
    for (const Case& c : cases) {
        SpecificationList* copy = c.copy(list);
        ASSERT_EQ(answersOf(*copy), answersOf(list)) << c.label;
        ruleWithId(*copy, "A")->setOriginalName(String("Sofa"));
        copy->erase(std::find(copy->cbegin(), copy->cend(), ruleWithId(*copy, "D")));
        EXPECT_EQ(answersOf(*copy), (std::vector<std::string>{"B", "C", "-", "A"})) << c.label;
        EXPECT_EQ(answersOf(list), (std::vector<std::string>{"A", "C", "D", "-"})) << c.label;
    }
}

class SpecificationListReadTest : public remap_test::RemapTest {};

// A map read from its file searches its rules in file order, in a map searched before the read.
TEST_F(SpecificationListReadTest, RulesReadAnswerInFileOrder) {
    ObjectMap map;
    map.addSource(String("Default"), ObjectMap::GSM);
    map.getLists()[0]->push_back(makeRule(APILib_ObjectID, "Chair", "old"));
    String source("Default");
    ASSERT_NE(map.getSpecification(keys[0], source, ObjectMap::GSM, false, false), nullptr);

    String text("<objectMap><specificationList sourceName=\"Default\" objectType=\"GSM\">"
                "<objectSpecification><originalName>chair</originalName><mappedName>A</mappedName>"
                "<mappedObjectGuid/></objectSpecification>"
                "<objectSpecification mappedType=\"door\"><originalName>Chair</originalName>"
                "<mappedName>C</mappedName><mappedObjectGuid/></objectSpecification>"
                "<objectSpecification><originalName>CHAIR</originalName><mappedName>B</mappedName>"
                "<mappedObjectGuid/></objectSpecification>"
                "<objectSpecification><originalName>Desk</originalName><mappedName>D</mappedName>"
                "<mappedObjectGuid/></objectSpecification>"
                "</specificationList></objectMap>");
    DataBufferIn stream(text);
    ASSERT_TRUE(readObjectMap(map, stream));
    SpecificationList* list = map.getLists().getSpecificationList(String("Default"), ObjectMap::GSM);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(answersOf(*list), (std::vector<std::string>{"A", "C", "D", "-"}));
}
