#include "Addon/EditManager.h"
#include "ACAPI/Attributes.hpp"
#include "Addon/Transaction.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Section.h"
#include "Database/Specification.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "TestAddon.h"
#include "sim/Attributes.h"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"
#include "support/RecordElement.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace zelvane;

namespace {

constexpr GSFlags hiddenFlag = 0x0001;
constexpr GSFlags lockedFlag = 0x0002;

// A transaction that makes its elements editable and then runs the given work.
class EditTransaction : public Transaction {
public:
    EditTransaction(std::vector<RecordElement*> elements, std::function<GSErrCode()> work)
        : Transaction(String("Edit")), m_elements(std::move(elements)), m_work(std::move(work)) {}
    GSErrCode run() override {
        for (RecordElement* element : m_elements) {
            enabled.push_back(getEditManager().enableEdit(*element));
        }
        return m_work();
    }
    std::vector<bool> enabled;

private:
    std::vector<RecordElement*> m_elements;
    std::function<GSErrCode()> m_work;
};

class EditManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Specification::startup();
        addon = &m_addon;
        plainLayer = addLayer("Plain", 0);
        lockedLayer = addLayer("Locked", lockedFlag);
        hiddenLayer = addLayer("Hidden", hiddenFlag);
        bothLayer = addLayer("Both", lockedFlag | hiddenFlag);
    }
    void TearDown() override {
        addon = nullptr;
        Specification::shutdown();
        host.reset();
    }

    static short addLayer(const char* name, GSFlags flags) {
        return short(sim::addAttribute(sim::makeAttribute(API_LayerID, name, flags)));
    }
    static GSFlags layerFlags(short index) { return sim::attribute(API_LayerID, index)->header.flags; }

    // A new element of the project in the database, loaded as the framework sees it.
    std::unique_ptr<RecordElement> makeElement(short layer, bool locked = false, Drawing* drawing = nullptr,
                                               short owner = 0) {
        if (drawing == nullptr) {
            drawing = host.getFrontPlan();
        }
        API_Element record;
        record.header.typeID = API_ObjectID;
        record.header.layer = layer;
        record.header.locked = locked;
        record.header.userId = owner;
        GS::Guid guid = sim::addElement(record, GS::Guid(drawing->getID()));
        record = sim::element(guid);
        return std::make_unique<RecordElement>(record, ElementLink(record.header, drawing));
    }

    Section* addSection() {
        sim::DatabaseRecord record;
        record.type = APIWind_SectionID;
        record.name = "Section";
        GS::Guid id = sim::addDatabase(record);
        return host.getProject()->getSection(DatabaseGuid(id));
    }

    void shareProject(bool online = true) {
        sim::setTeamwork(true, 3, {sim::TeamMember{"me", "Me", 3}, sim::TeamMember{"you", "You", 4}});
        sim::setServerOnline(online);
        host.reset();
    }

    testing_addon::TestAddon m_addon;
    short plainLayer = 0;
    short lockedLayer = 0;
    short hiddenLayer = 0;
    short bothLayer = 0;
};

} // namespace

TEST_F(EditManagerTest, LayersAreOpenedAndPutBack) {
    struct Case {
        const char* name;
        short layer;
        bool failStore;
        bool enabled;
        GSFlags during;
    };
    for (const Case& c :
         {Case{"plain layer", plainLayer, false, true, 0}, Case{"locked layer", lockedLayer, false, true, 0},
          Case{"hidden layer", hiddenLayer, false, true, 0},
          Case{"locked and hidden", bothLayer, false, true, 0},
          Case{"locked layer not stored", lockedLayer, true, false, lockedFlag},
          Case{"hidden layer not stored", hiddenLayer, true, false, hiddenFlag}}) {
        const short layer = c.layer;
        const GSFlags before = layerFlags(layer);
        auto element = makeElement(layer);
        EditManager manager(true, true);
        if (c.failStore) {
            sim::failCall("ACAPI_Attribute_ModifyExt", APIERR_GENERAL);
        }
        EXPECT_EQ(manager.enableEdit(*element), c.enabled) << c.name;
        EXPECT_EQ(layerFlags(layer) & (lockedFlag | hiddenFlag), c.during) << c.name;
        sim::clearFaults();
        sim::clearCalls();
        manager.restoreLayers();
        EXPECT_EQ(layerFlags(layer), before) << c.name;
        sim::clearCalls();
        manager.restoreLayers();
        EXPECT_EQ(sim::callCount("ACAPI_Attribute_ModifyExt"), 0u) << c.name << ": nothing left to restore";
    }
}

TEST_F(EditManagerTest, SteadyLayersAreReadOnceUntilPutBack) {
    auto first = makeElement(lockedLayer);
    auto second = makeElement(lockedLayer);
    auto lockedElement = makeElement(lockedLayer, true);
    auto onPlain = makeElement(plainLayer);
    EditManager manager(true, true);
    manager.setLayersSteady(true);
    EXPECT_TRUE(manager.enableEdit(*first));
    EXPECT_TRUE(manager.enableEdit(*onPlain));
    sim::clearCalls();
    EXPECT_TRUE(manager.enableEdit(*second));
    EXPECT_TRUE(manager.enableEdit(*onPlain));
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_Get"), 0u) << "layers known open are not read again";
    EXPECT_TRUE(manager.enableEdit(*lockedElement));
    EXPECT_FALSE(sim::element(GS::Guid(lockedElement->getUniqueID())).header.locked)
        << "a locked element on a known open layer is still unlocked";

    // Put back, the layer is locked again and opened again for the next element.
    manager.restoreAll(false);
    ASSERT_EQ(layerFlags(lockedLayer), lockedFlag);
    EXPECT_TRUE(manager.enableEdit(*first));
    EXPECT_EQ(layerFlags(lockedLayer), 0) << "opened again after being put back";
    manager.restoreLayers();

    // Not steady, a layer locked meanwhile by someone else is seen and opened.
    EditManager unsteady(true, true);
    EXPECT_TRUE(unsteady.enableEdit(*onPlain));
    API_Attribute layer = *sim::attribute(API_LayerID, plainLayer);
    layer.header.flags |= lockedFlag;
    ASSERT_EQ(ACAPI_Attribute_ModifyExt(&layer, nullptr), NoError);
    EXPECT_TRUE(unsteady.enableEdit(*onPlain));
    EXPECT_EQ(layerFlags(plainLayer) & lockedFlag, 0);
    unsteady.restoreLayers();
    EXPECT_EQ(layerFlags(plainLayer) & lockedFlag, lockedFlag);
}

TEST_F(EditManagerTest, WhatCannotBeMadeEditable) {
    auto plain = makeElement(plainLayer);
    auto hotlinked = makeElement(lockedLayer);
    GS::Guid module;
    module.Generate();
    hotlinked->setHotlinkID(Guid(module));
    EditManager manager(false, true);
    EXPECT_TRUE(plain->isEditable());
    EXPECT_TRUE(manager.enableEdit(*plain));
    EXPECT_FALSE(manager.enableEdit(*hotlinked));
    EXPECT_EQ(layerFlags(lockedLayer), lockedFlag) << "a hotlinked element's layer stays locked";

    sim::closeProject();
    EXPECT_FALSE(manager.enableEdit(*plain)) << "no project";
}

TEST_F(EditManagerTest, ElementsAreRelockedInTheirOwnDrawing) {
    Section* section = addSection();
    ASSERT_NE(section, nullptr);
    auto onPlan = makeElement(plainLayer, true);
    auto inSection = makeElement(plainLayer, true, section);
    EditManager manager(true, true);
    EXPECT_TRUE(manager.enableEdit(*onPlan));
    EXPECT_TRUE(manager.enableEdit(*inSection));
    EXPECT_FALSE(sim::element(GS::Guid(onPlan->getUniqueID())).header.locked);
    EXPECT_FALSE(sim::element(GS::Guid(inSection->getUniqueID())).header.locked);
    EXPECT_FALSE(inSection->isLocked());

    host.setActiveDrawing(*host.getFrontPlan());
    manager.restoreElements();
    EXPECT_TRUE(sim::element(GS::Guid(onPlan->getUniqueID())).header.locked);
    EXPECT_TRUE(sim::element(GS::Guid(inSection->getUniqueID())).header.locked)
        << "relocked through the section";

    // A refused unlock leaves the element locked, still editable for the manager, and nothing to
    // relock.
    auto refused = makeElement(plainLayer, true);
    EditManager other(true, true);
    sim::failCall("ACAPI_Element_Tool", APIERR_GENERAL);
    EXPECT_TRUE(other.enableEdit(*refused));
    EXPECT_TRUE(refused->isLocked());
    sim::clearCalls();
    other.restoreElements();
    EXPECT_EQ(sim::callCount("ACAPI_Element_Tool"), 0u);

    // Without the unlock flag locked elements stay locked.
    auto kept = makeElement(plainLayer, true);
    EditManager keeping(true, false);
    EXPECT_TRUE(keeping.enableEdit(*kept));
    EXPECT_TRUE(sim::element(GS::Guid(kept->getUniqueID())).header.locked);
}

TEST_F(EditManagerTest, ReservationsInASharedProject) {
    shareProject();
    auto free = makeElement(plainLayer, false, nullptr, 0);
    auto mine = makeElement(plainLayer, false, nullptr, 3);
    auto theirs = makeElement(plainLayer, false, nullptr, 4);
    EditManager manager(true, true);
    ASSERT_TRUE(manager.isTeamWork());
    EXPECT_TRUE(manager.enableEdit(*free));
    EXPECT_EQ(free->getOwnerID(), 3);
    EXPECT_EQ(sim::elementOwner(GS::Guid(free->getUniqueID())), 3);
    sim::clearCalls();
    EXPECT_TRUE(manager.enableEdit(*mine));
    EXPECT_EQ(sim::callCount("ACAPI_TeamworkControl_ReserveElements"), 0u) << "already the user's";
    EXPECT_FALSE(manager.enableEdit(*theirs)) << "held by another member";
    EXPECT_EQ(sim::elementOwner(GS::Guid(theirs->getUniqueID())), 4);

    manager.releaseElements();
    EXPECT_EQ(sim::elementOwner(GS::Guid(free->getUniqueID())), 0);
    EXPECT_EQ(sim::elementOwner(GS::Guid(mine->getUniqueID())), 3) << "not reserved by the manager";

    // Offline, or not asked for, the manager reserves nothing.
    shareProject(false);
    EXPECT_FALSE(EditManager(true, true).isTeamWork());
    shareProject(true);
    EXPECT_FALSE(EditManager(false, true).isTeamWork());
}

TEST_F(EditManagerTest, CopiesAndTheRecordedDrawing) {
    Section* section = addSection();
    host.setActiveDrawing(*section);
    shareProject();
    section = host.getProject()->getSection(0);
    host.setActiveDrawing(*section);
    auto element = makeElement(lockedLayer, false, nullptr, 0);
    EditManager manager(true, true);
    EXPECT_EQ(manager.getDrawing(), section);
    ASSERT_TRUE(manager.enableEdit(*element));

    EditManager copy(manager);
    EXPECT_EQ(copy.getDrawing(), section);
    manager.restoreAll(false);
    EXPECT_EQ(layerFlags(lockedLayer), lockedFlag);
    EXPECT_EQ(sim::elementOwner(GS::Guid(element->getUniqueID())), 0);

    // The copy still holds the layer but no reservation of its own.
    sim::setElementOwner(GS::Guid(element->getUniqueID()), 3);
    copy.releaseElements();
    EXPECT_EQ(sim::elementOwner(GS::Guid(element->getUniqueID())), 3);
    host.setActiveDrawing(*host.getFrontPlan());
    copy.restoreAll(true);
    EXPECT_EQ(host.getActiveDrawing(), section) << "the recorded drawing is active again";
}

TEST_F(EditManagerTest, TransactionsPutEverythingBackWhateverHappens) {
    shareProject();
    Section* section = addSection();
    struct Case {
        const char* name;
        GSErrCode answer;
        bool throws;
        bool result;
    };
    for (const Case& c :
         {Case{"success", NoError, false, true}, Case{"failure", APIERR_CANCEL, false, false},
          Case{"exception", NoError, true, false}, Case{"success again", NoError, false, true}}) {
        auto onPlan = makeElement(bothLayer, true, nullptr, 0);
        auto inSection = makeElement(lockedLayer, true, section, 0);
        bool editableInRun = false;
        EditTransaction transaction({onPlan.get(), inSection.get()}, [&]() -> GSErrCode {
            editableInRun = layerFlags(bothLayer) == 0 && layerFlags(lockedLayer) == 0 &&
                            !sim::element(GS::Guid(inSection->getUniqueID())).header.locked &&
                            sim::elementOwner(GS::Guid(onPlan->getUniqueID())) == 3;
            if (c.throws) {
                throw std::runtime_error("run");
            }
            return c.answer;
        });
        EXPECT_EQ(host.makeTransaction(transaction), c.result) << c.name;
        EXPECT_EQ(transaction.enabled, (std::vector<bool>{true, true})) << c.name;
        EXPECT_TRUE(editableInRun) << c.name;
        EXPECT_EQ(layerFlags(bothLayer), lockedFlag | hiddenFlag) << c.name;
        EXPECT_EQ(layerFlags(lockedLayer), lockedFlag) << c.name;
        EXPECT_TRUE(sim::element(GS::Guid(onPlan->getUniqueID())).header.locked) << c.name;
        EXPECT_TRUE(sim::element(GS::Guid(inSection->getUniqueID())).header.locked) << c.name;
        EXPECT_EQ(sim::elementOwner(GS::Guid(onPlan->getUniqueID())), 0) << c.name;
        EXPECT_EQ(sim::elementOwner(GS::Guid(inSection->getUniqueID())), 0) << c.name;
        EXPECT_FALSE(sim::isUndoableCommandRunning()) << c.name;
    }
}
