#include "Remap/ObjectMap.h"
#include "Library/IntegerParameter.h"
#include "Library/ParameterList.h"
#include "Library/RealParameter.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/PartTypeProxy.h"
#include "Remap/SpecificationList.h"
#include "RemapFixture.h"
#include "support/FailingAllocation.h"

#include <memory>
#include <new>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

class ObjectMapTest : public RemapTest {
protected:
    // Lists ("Default", IFC) with Chair (object), ("Other", IFC) with Lamp (lamp) and
    // ("Default", DWG) with Table (object).
    void SetUp() override {
        RemapTest::SetUp();
        map.addSource(String("Default"), ObjectMap::IFC);
        map.addSource(String("Other"), ObjectMap::IFC);
        map.addSource(String("Default"), ObjectMap::DWG);
        addRule(0, APILib_ObjectID, "Chair");
        addRule(1, APILib_LampID, "Lamp");
        addRule(2, APILib_ObjectID, "Table");
    }

    ObjectSpecification* addRule(std::size_t list, API_LibTypeID type, const char* name) {
        auto* rule = new ObjectSpecification;
        rule->setMappedType(type);
        rule->setOriginalName(String(name));
        map.getLists()[list]->push_back(rule);
        return rule;
    }

    ObjectMap map;
};

std::vector<std::string> namesOf(const ObjectMap& map) {
    std::vector<std::string> names;
    for (const SpecificationList* list : map.getLists()) {
        names.push_back(std::string(list->getSourceName().data()) + "/" +
                        ObjectMap::typeName(list->getType()));
    }
    return names;
}

} // namespace

TEST(ObjectMapTypeTest, KindNamesBothWays) {
    struct Case {
        ObjectMap::Type type;
        const char* name;
    };
    for (const Case& c :
         {Case{ObjectMap::IFC, "IFC"}, Case{ObjectMap::DWG, "DWG"}, Case{ObjectMap::GSM, "GSM"},
          Case{ObjectMap::missing, "missing"}, Case{ObjectMap::legacy, "legacy"}}) {
        EXPECT_STREQ(ObjectMap::typeName(c.type), c.name);
        EXPECT_EQ(ObjectMap::typeOf(String(c.name)), c.type);
        ObjectMap::Type value = ObjectMap::none;
        XMLTypeProxy<ObjectMap::Type> binding(value, "objectType", true);
        ASSERT_TRUE(binding.read(String(c.name)));
        EXPECT_EQ(value, c.type);
        String text;
        ASSERT_TRUE(binding.write(text));
        EXPECT_EQ(text, c.name);
    }
    for (const char* other : {"ifc", "Missing", "none", "", " GSM"}) {
        ObjectMap::Type value = ObjectMap::GSM;
        XMLTypeProxy<ObjectMap::Type> binding(value, "objectType", true);
        EXPECT_FALSE(binding.read(String(other))) << other;
        EXPECT_EQ(value, ObjectMap::GSM) << other;
    }
    ObjectMap::Type none = ObjectMap::none;
    String text;
    EXPECT_FALSE(XMLTypeProxy<ObjectMap::Type>(none, "objectType").write(text)) << "kind none has no name";
}

TEST(ObjectMapTypeTest, PartTypeNamesBothWays) {
    struct Case {
        API_LibTypeID type;
        const char* name;
    };
    for (const Case& c : {Case{APILib_WindowID, "window"}, Case{APILib_DoorID, "door"},
                          Case{APILib_ObjectID, "object"}, Case{APILib_LampID, "lamp"}}) {
        API_LibTypeID value = APILib_ZombieID;
        PartTypeProxy binding(value, "mappedType", true);
        ASSERT_TRUE(binding.read(String(c.name)));
        EXPECT_EQ(value, c.type);
        String text;
        ASSERT_TRUE(binding.write(text));
        EXPECT_EQ(text, c.name);
    }
    for (const char* other : {"Door", "label", "4", ""}) {
        API_LibTypeID value = APILib_DoorID;
        EXPECT_FALSE(PartTypeProxy(value, "mappedType", true).read(String(other))) << other;
        EXPECT_EQ(value, APILib_DoorID);
    }
    for (API_LibTypeID type : {APILib_ZombieID, APILib_SpecID, APILib_LabelID, APILib_SkylightID}) {
        String text;
        EXPECT_FALSE(PartTypeProxy(type, "mappedType", true).write(text)) << type;
    }
}

TEST_F(ObjectMapTest, RuleFoundInItsOwnListWhateverTheCase) {
    String source("Default");
    ObjectSpecification* rule = map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("cHAIR")), source,
                                                     ObjectMap::IFC, false, false);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->getOriginalName(), "Chair");
    EXPECT_EQ(source, "Default");
    EXPECT_EQ(map.getSpecification(ObjectMap::Key(APILib_DoorID, String("Chair")), source, ObjectMap::IFC,
                                   false, false),
              nullptr)
        << "a rule of another part type answers no key";
}

TEST_F(ObjectMapTest, RuleFoundAcrossListsNamesItsList) {
    struct Case {
        API_LibTypeID type;
        const char* key;
        const char* source;
        ObjectMap::Type kind;
        const char* holder; // the list that holds the rule, null for none
    };
    for (const Case& c : {
             Case{APILib_LampID, "LAMP", "Default", ObjectMap::IFC, "Other"},
             Case{APILib_ObjectID, "table", "Other", ObjectMap::IFC, "Default"}, // a list of another kind
             Case{APILib_ObjectID, "chair", "Nowhere", ObjectMap::GSM, "Default"},
             Case{APILib_ObjectID, "Bed", "Default", ObjectMap::IFC, nullptr},
             // Lists of other kinds named like the chosen one would pass for it: they are left out.
             Case{APILib_ObjectID, "table", "Default", ObjectMap::IFC, nullptr},
             Case{APILib_ObjectID, "chair", "Default", ObjectMap::DWG, nullptr},
             Case{APILib_LampID, "lamp", "Other", ObjectMap::GSM, nullptr},
             Case{APILib_LampID, "lamp", "Default", ObjectMap::DWG, "Other"},
         }) {
        String source(c.source);
        ObjectSpecification* rule =
            map.getSpecification(ObjectMap::Key(c.type, String(c.key)), source, c.kind, false, false);
        if (c.holder == nullptr) {
            EXPECT_EQ(rule, nullptr) << c.key;
            EXPECT_EQ(source, c.source) << "unchanged when nothing was found";
        } else {
            ASSERT_NE(rule, nullptr) << c.key;
            EXPECT_EQ(source, c.holder) << c.key;
        }
    }
}

TEST_F(ObjectMapTest, RuleMadeOnlyInAnExistingList) {
    String source("Default");
    ObjectSpecification* made = map.getSpecification(ObjectMap::Key(APILib_DoorID, String("Sofa")), source,
                                                     ObjectMap::IFC, true, true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(map.getLists()[0]->size(), 2u);
    EXPECT_EQ(map.getLists()[0]->back(), made) << "appended";
    EXPECT_EQ(made->getOriginalName(), "Sofa");
    EXPECT_EQ(made->getMappedType(), APILib_DoorID);
    EXPECT_TRUE(made->isAutomatic());
    EXPECT_EQ(made->getMappedName(), "");

    // Made in the chosen list even when another list has a rule for the key.
    String other("Default");
    ObjectSpecification* own = map.getSpecification(ObjectMap::Key(APILib_LampID, String("Lamp")), other,
                                                    ObjectMap::IFC, true, false);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(other, "Default");
    EXPECT_FALSE(own->isAutomatic());
    EXPECT_EQ(map.getLists()[0]->size(), 3u);

    String missing("Nowhere");
    EXPECT_EQ(map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("Bed")), missing, ObjectMap::IFC,
                                   true, false),
              nullptr);
    std::size_t rules = 0;
    for (const SpecificationList* list : map.getLists()) {
        rules += list->size();
    }
    EXPECT_EQ(rules, 5u) << "no list of that name: nothing made";
}

// Every allocation of making a rule fails in turn: the rule is made, or the failure reaches the
// caller and the list is left as it was (the sanitizer build reports a rule freed twice or left behind).
TEST_F(ObjectMapTest, ARuleMadeWhileAllocationsFailIsMadeOnceOrNotAtAll) {
    for (int step = 0;; ++step) {
        ASSERT_LT(step, 1000) << "the rule was never made";
        String source("Default");
        ObjectSpecification* made = nullptr;
        bool thrown = false;
        testing_support::failAllocationAfter(step);
        try {
            made = map.getSpecification(ObjectMap::Key(APILib_DoorID, String("Sofa")), source, ObjectMap::IFC,
                                        true, false);
        } catch (const std::bad_alloc&) {
            thrown = true;
        }
        bool failed = testing_support::disarmAllocationFailure();
        if (thrown) {
            EXPECT_EQ(map.getLists()[0]->size(), 1u) << "allocation " << step;
            continue;
        }
        // Made, the failure (if any) coped with.
        ASSERT_NE(made, nullptr) << "allocation " << step;
        EXPECT_EQ(map.getLists()[0]->back(), made) << "allocation " << step;
        EXPECT_EQ(map.getLists()[0]->size(), 2u) << "allocation " << step;
        EXPECT_EQ(map.getLists()[0]->find(ObjectMap::Key(APILib_DoorID, String("sofa"))), made)
            << "allocation " << step;
        if (!failed) {
            break;
        }
        map.deleteSpecification(ObjectMap::Key(APILib_DoorID, String("Sofa")), source, ObjectMap::IFC);
    }
}

TEST_F(ObjectMapTest, RulesSetAndDeleted) {
    ObjectSpecification rule;
    rule.setOriginalName(String("Chair"));
    rule.setMappedName(String("Armchair"));
    EXPECT_FALSE(map.setSpecification(rule, String("Nowhere"), ObjectMap::IFC));
    EXPECT_FALSE(map.setSpecification(rule, String("Other"), ObjectMap::GSM)) << "the kind must agree";
    ASSERT_TRUE(map.setSpecification(rule, String("Other"), ObjectMap::IFC));
    ASSERT_EQ(map.getLists()[1]->size(), 2u);
    EXPECT_NE(map.getLists()[1]->back(), &rule) << "a copy";
    EXPECT_EQ(map.getLists()[1]->back()->getMappedName(), "Armchair");
    ASSERT_TRUE(map.setSpecification(rule, String("Other"), ObjectMap::IFC));
    EXPECT_EQ(map.getLists()[1]->size(), 3u) << "a rule of the same key stays";

    struct Case {
        API_LibTypeID type;
        const char* key;
        const char* source;
        ObjectMap::Type kind;
        bool deleted;
    };
    for (const Case& c : {Case{APILib_ObjectID, "CHAIR", "Default", ObjectMap::IFC, true},
                          Case{APILib_ObjectID, "Chair", "Default", ObjectMap::IFC, false}, // gone already
                          Case{APILib_DoorID, "Lamp", "Other", ObjectMap::IFC, false},
                          Case{APILib_LampID, "Lamp", "Other", ObjectMap::DWG, false},
                          Case{APILib_LampID, "lamp", "Other", ObjectMap::IFC, true}}) {
        EXPECT_EQ(map.deleteSpecification(ObjectMap::Key(c.type, String(c.key)), String(c.source), c.kind),
                  c.deleted)
            << c.key << " in " << c.source;
    }
    EXPECT_EQ(map.getLists()[0]->size(), 0u);
    EXPECT_EQ(map.getLists()[1]->size(), 2u);
}

TEST_F(ObjectMapTest, SourceCommands) {
    map.checkMappingRepresentation();
    EXPECT_EQ(namesOf(map), (std::vector<std::string>{"Default/IFC", "Other/IFC", "Default/DWG",
                                                      "Default/GSM", "Default/missing", "Default/legacy"}));
    EXPECT_TRUE(map.renameSource(String("Other"), String("Survey"), ObjectMap::IFC));
    EXPECT_FALSE(map.renameSource(String("other"), String("x"), ObjectMap::IFC)) << "names compare exactly";
    EXPECT_FALSE(map.renameSource(String("Survey"), String("x"), ObjectMap::DWG));
    EXPECT_TRUE(map.deleteSource(String("Default"), ObjectMap::DWG));
    EXPECT_FALSE(map.deleteSource(String("Default"), ObjectMap::DWG));
    map.addSource(String("Survey"), ObjectMap::GSM);
    EXPECT_EQ(namesOf(map), (std::vector<std::string>{"Default/IFC", "Survey/IFC", "Default/GSM",
                                                      "Default/missing", "Default/legacy", "Survey/GSM"}));

    ObjectMap other;
    other.addSource(String("Survey"), ObjectMap::IFC);
    other.getLists()[0]->push_back(new ObjectSpecification);
    other.getLists()[0]->push_back(new ObjectSpecification);
    other.addSource(String("New"), ObjectMap::missing);
    EXPECT_TRUE(map.importSource(other, String("Survey"), ObjectMap::IFC));
    EXPECT_EQ(map.getLists()[1]->size(), 2u) << "the rules replaced";
    EXPECT_TRUE(map.importSource(other, String("New"), ObjectMap::missing));
    EXPECT_FALSE(map.importSource(other, String("New"), ObjectMap::GSM));
    EXPECT_EQ(namesOf(map).back(), "New/missing");
    EXPECT_NE(map.getLists().back(), other.getLists()[1]) << "a clone";

    map.initialise();
    EXPECT_EQ(namesOf(map), (std::vector<std::string>{"Default/IFC", "Default/DWG", "Default/GSM",
                                                      "Default/missing", "Default/legacy"}));
    EXPECT_EQ(map.getLists()[0]->size(), 0u);
}

TEST_F(ObjectMapTest, CopiesAreDeep) {
    ObjectMap copy(map);
    ObjectMap assigned;
    assigned = map;
    for (ObjectMap* other : {&copy, &assigned}) {
        ASSERT_EQ(namesOf(*other), namesOf(map));
        EXPECT_NE(other->getLists()[0], map.getLists()[0]);
        EXPECT_NE(other->getLists()[0]->front(), map.getLists()[0]->front());
        other->getLists()[0]->front()->setOriginalName(String("Stool"));
        EXPECT_EQ(map.getLists()[0]->front()->getOriginalName(), "Chair");
    }
    ObjectMap& self = map;
    map = self;
    EXPECT_EQ(namesOf(map).size(), 3u);
    EXPECT_EQ(map.getLists()[0]->front()->getOriginalName(), "Chair");
}

TEST_F(ObjectMapTest, RuleCopiesShareTheirValues) {
    ObjectSpecification rule;
    rule.setOriginalName(String("Chair"));
    rule.setMappedName(String("Armchair"));
    rule.setMappedObjectGuid(String("{1}"));
    rule.setMappedType(APILib_LampID);
    rule.setAutomatic(true);
    rule.setCustomParameters(std::make_shared<ParameterList>());
    std::unique_ptr<ObjectSpecification> copy(rule.clone());
    EXPECT_EQ(copy->getOriginalName(), "Chair");
    EXPECT_EQ(copy->getMappedName(), "Armchair");
    EXPECT_EQ(copy->getMappedObjectGuid(), "{1}");
    EXPECT_EQ(copy->getMappedType(), APILib_LampID);
    EXPECT_TRUE(copy->isAutomatic());
    EXPECT_EQ(copy->getCustomParameters(), rule.getCustomParameters()) << "shared, not copied";

    copy->setDefault();
    EXPECT_EQ(copy->getMappedName(), "");
    EXPECT_EQ(copy->getMappedType(), APILib_ObjectID);
    EXPECT_EQ(copy->getCustomParameters(), nullptr);
    EXPECT_FALSE(copy->isAutomatic());
}

TEST(ObjectSpecificationTest, OnlyDifferingValuesAreKept) {
    auto list = [](std::vector<std::pair<const char*, short>> values, double real) {
        ParameterList parameters;
        for (auto const& value : values) {
            parameters.addParameter(new IntegerParameter(String(value.first), String(), value.second));
        }
        parameters.addParameter(new RealParameter(String("R"), String(), real));
        return parameters;
    };
    ParameterList before = list({{"A", 1}, {"B", 2}, {"C", 3}}, 0.5);
    ObjectSpecification rule;
    rule.setParameters(before, list({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}}, 0.5));
    EXPECT_EQ(rule.getCustomParameters(), nullptr) << "nothing differs: no list made";

    rule.setParameters(before, list({{"a", 1}, {"B", 7}, {"C", 8}, {"D", 4}}, 0.25));
    ASSERT_NE(rule.getCustomParameters(), nullptr);
    std::unique_ptr<ObjectSpecification> sharing(rule.clone());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < rule.getCustomParameters()->size(); ++i) {
        names.push_back(rule.getCustomParameters()->getParameter(i)->getName().data());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"R", "C", "B"})) << "walked from the last value";
    EXPECT_EQ(
        static_cast<IntegerParameter*>(rule.getCustomParameters()->getParameter(String("C")))->getValue(), 8);

    // C back to the part's own value: its entry goes; B changes again.
    rule.setParameters(before, list({{"B", 9}, {"C", 3}}, 0.25));
    names.clear();
    for (std::size_t i = 0; i < rule.getCustomParameters()->size(); ++i) {
        names.push_back(rule.getCustomParameters()->getParameter(i)->getName().data());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"R", "B"}));
    EXPECT_EQ(
        static_cast<IntegerParameter*>(rule.getCustomParameters()->getParameter(String("B")))->getValue(), 9);
    EXPECT_EQ(sharing->getCustomParameters()->size(), 2u) << "a copy sees the change";
}

// A rule answers the key of its own part type whose name is its own, letter case aside.
TEST(ObjectSpecificationTest, NamesMatchWhateverTheirCase) {
    struct Case {
        const char* rule;
        const char* key;
        bool matches;
    };
    for (const Case& c : {
             Case{"Chair", "cHAIR", true}, Case{"Chair", "Chairs", false}, Case{"Chairs", "Chair", false},
             Case{"", "", true}, Case{"", "a", false},
             Case{"\xC3\x84pfel 12", "\xC3\xA4PFEL 12", true}, // Ä and ä
             Case{"X\xC3\x84", "x\xC3\xA4", true}, Case{"\xC3\x84pfel", "Apfel", false},
             Case{"Z[1]", "z[1]", true},
             Case{"@", "`", false}, // the bytes around the letters are not letters
         }) {
        SpecificationList list(String("Default"), ObjectMap::GSM);
        auto* rule = new ObjectSpecification;
        rule->setOriginalName(String(c.rule));
        list.push_back(rule);
        EXPECT_EQ(list.find(ObjectMap::Key(APILib_ObjectID, String(c.key))) == rule, c.matches)
            << c.rule << " / " << c.key;
        EXPECT_EQ(list.find(ObjectMap::Key(APILib_LampID, String(c.key))), nullptr) << "types must agree";
    }
}
