#include "Addon/ModuleEvent.h"
#include "ACAPI/ModuleData.hpp"
#include "Addon/ModuleSubscriber.h"
#include "Addon/Publisher.h"
#include "Environment/MemoryBlock.h"
#include "XML/Package.h"
#include "XML/PackageStore.h"
#include "XML/UnknownElements.h"
#include "XML/XMLTypeProxy.h"
#include "sim/AddOns.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zelvane;

namespace {

constexpr unsigned int counterCode = MakeGSType("CNTR");

class Counter : public Package {
public:
    explicit Counter(int count = 0) : m_count(count) {}
    Counter(const Counter& other) : Shipping(other), Package(other), m_count(other.m_count) {}

    Package* clone() const override { return new Counter(*this); }
    unsigned int getID() const override { return counterCode; }
    char const* getTag() const override { return "counter"; }
    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t index, bool) override {
        return index == 0 ? new XMLTypeProxy<int>(m_count, "count") : nullptr;
    }
    Shipping* getShipping(String const& tag, String const&) override {
        return tag == "count" ? getShipping(0, false) : nullptr;
    }
    void setDefault() override { m_count = 0; }

    int m_count;
};

int countIn(const PackageStore* store) {
    auto* counter = dynamic_cast<Counter*>(store->getPackage(counterCode));
    return counter != nullptr ? counter->m_count : -1;
}

PackageStore* storeWith(int count) {
    auto store = std::make_unique<PackageStore>("frameworkPreferenceStore");
    store->setPackage(new Counter(count), false);
    return store.release();
}

class Merges : public ModuleSubscriber {
public:
    bool handleEvent(ModuleEvent& event) override {
        merged = countIn(event.getStore()) + countIn(event.getOtherStore());
        return true;
    }
    int merged = 0;
};

class ModuleEventTest : public ::testing::Test {
protected:
    void SetUp() override { ModuleSubscriber::m_isRegistered = ModuleSubscriber::m_isInstalled = 0; }
    void TearDown() override { ModuleSubscriber::m_isRegistered = ModuleSubscriber::m_isInstalled = 0; }
};

} // namespace

TEST_F(ModuleEventTest, CopiesOwnTheirStores) {
    API_ModulData destination;
    ModuleEvent event(storeWith(3), storeWith(5), APIMDSetMerge_HLM, &destination);
    event.setKept(new UnknownElements, false);
    EXPECT_EQ(event.getSpec(), EventSpec(HostEvent::ID, ModuleEvent::ID));
    EXPECT_EQ(event.getID(), 1);
    EXPECT_EQ(event.getCommand(), APIMDSetMerge_HLM);
    EXPECT_EQ(event.getDestination(), &destination);

    ModuleEvent copy(event);
    ASSERT_NE(copy.getStore(), nullptr);
    EXPECT_NE(copy.getStore(), event.getStore());
    dynamic_cast<Counter*>(event.getStore()->getPackage(counterCode))->m_count = 9;
    EXPECT_EQ(countIn(copy.getStore()), 3);
    EXPECT_EQ(countIn(copy.getOtherStore()), 5);
    EXPECT_EQ(copy.getDestination(), &destination);
    EXPECT_FALSE(copy.isStoreRead());
    EXPECT_NE(copy.getKept(), nullptr);
    EXPECT_NE(copy.getKept(), event.getKept());

    ModuleEvent other(7, 2);
    EXPECT_EQ(other.getID(), 7);
    EXPECT_EQ(other.getValue(), 2);
    EXPECT_EQ(other.getStore(), nullptr);
    other = event;
    EXPECT_EQ(countIn(other.getStore()), 9);
    EXPECT_NE(other.getStore(), event.getStore());
    EXPECT_FALSE(other.isStoreRead());
    EXPECT_NE(other.getKept(), nullptr);
    EXPECT_NE(other.getKept(), event.getKept());
    other = ModuleEvent(nullptr, storeWith(1), APIMDSetMerge_TW, nullptr);
    EXPECT_EQ(other.getStore(), nullptr);
    EXPECT_EQ(countIn(other.getOtherStore()), 1);

    Merges merges;
    Publisher publisher;
    publisher.addSubscriber(&merges);
    EXPECT_TRUE(publisher.publishEvent(copy));
    EXPECT_EQ(merges.merged, 8);
}

TEST_F(ModuleEventTest, ModuleDataOfAStoreComesBackExactly) {
    std::unique_ptr<PackageStore> store(storeWith(42));
    std::unique_ptr<MemoryBlock> block(store->getData());
    ASSERT_NE(block, nullptr);
    std::string written(*block->getHandle(), std::size_t(block->size()));
    EXPECT_EQ(written.find("<?xml"), std::string::npos);
    EXPECT_EQ(written.find("frameworkPreferenceStore"), std::string::npos);
    EXPECT_EQ(written.rfind("<counter>", 0), 0u);

    API_ModulData info;
    info.dataVersion = 1;
    info.platformSign = 19789;
    info.dataHdl = block->getHandle();
    ASSERT_EQ(ACAPI_ModulData_Store(&info, ""), NoError);

    API_ModulData back;
    ASSERT_EQ(ACAPI_ModulData_Get(&back, ""), NoError);
    MemoryBlock read(back.dataHdl);
    EXPECT_EQ(std::string(*read.getHandle(), std::size_t(read.size())), written);
    std::unique_ptr<PackageStore> restored(storeWith(0));
    ASSERT_TRUE(restored->setData(read, false));
    EXPECT_EQ(countIn(restored.get()), 42);
}

TEST_F(ModuleEventTest, HandlersAreRegisteredAndInstalledOncePerBundle) {
    Merges a, b;
    Publisher publisher;
    publisher.addSubscriber(&a);
    publisher.addSubscriber(&b);
    ASSERT_TRUE(publisher.registerInterface());
    ASSERT_TRUE(publisher.initialise());
    EXPECT_EQ(sim::callCount("ACAPI_Register_ModulDataHandler"), 1u);
    EXPECT_EQ(sim::callCount("ACAPI_Install_ModulDataMergeHandler"), 1u);
    EXPECT_EQ(sim::currentAddOn().mergeHandler, &ModuleSubscriber::moduleCallback);

    // Through the host: without the add-on object nothing is dispatched and the host gets 0.
    sim::ModuleDataRecord original{{'<', 'a', '/', '>'}, 1, 19789};
    sim::ModuleDataRecord destination;
    EXPECT_EQ(sim::mergeModuleData(sim::defaultAddOn, APIMDSetMerge_TW, "", &original, nullptr, &destination),
              NoError);
    EXPECT_EQ(a.merged, 0);
}

TEST_F(ModuleEventTest, AFailedRegistrationIsReported) {
    Merges a;
    sim::failCall("ACAPI_Register_ModulDataHandler", APIERR_GENERAL);
    EXPECT_FALSE(a.registerInterface());
    EXPECT_FALSE(a.initialise()); // the merge handler needs the module-data handler
    EXPECT_EQ(ModuleSubscriber::m_isRegistered, 0) << "a refusal is no registration";
    EXPECT_EQ(ModuleSubscriber::m_isInstalled, 0);
    EXPECT_TRUE(a.registerInterface());
    EXPECT_TRUE(a.initialise());
}
