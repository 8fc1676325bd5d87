#include "Addon/Publisher.h"

#include "Addon/HostEvent.h"
#include "Addon/ProjectEvent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelvane;

namespace {

const EventSpec projectSpec(HostEvent::ID, ProjectEvent::ID);
const EventSpec menuSpec(HostEvent::ID, MakeGSType("MENU"));

// Records every call into a shared journal and answers as configured.
class Probe : public Subscriber {
public:
    Probe(std::string name, std::vector<std::string>& journal, std::vector<EventSpec> specs = {projectSpec})
        : m_name(std::move(name)), m_journal(journal), m_specs(std::move(specs)) {}

    void getSpec(std::vector<EventSpec>& specs) const override {
        specs.insert(specs.end(), m_specs.begin(), m_specs.end());
    }
    bool takeEvent(Event&) override {
        m_journal.push_back(m_name);
        return m_takes;
    }
    bool checkEnvironment() override { return step("check"); }
    bool registerInterface() override { return step("register"); }
    bool initialise() override { return step("init"); }

    bool m_takes = false;
    bool m_passes = true;

private:
    bool step(const char* what) {
        m_journal.push_back(m_name + ":" + what);
        return m_passes;
    }

    std::string m_name;
    std::vector<std::string>& m_journal;
    std::vector<EventSpec> m_specs;
};

using Journal = std::vector<std::string>;

} // namespace

TEST(EventSpecTest, OrdersByFamilyThenKindAsUnsigned) {
    struct Case {
        EventSpec a, b;
        bool less;
    };
    const Case cases[] = {
        {EventSpec(1, 0xFFFFFFFF), EventSpec(2, 0), true},
        {EventSpec(2, 0), EventSpec(1, 0xFFFFFFFF), false},
        {EventSpec(5, 1), EventSpec(5, 2), true},
        {EventSpec(5, 0x80000000), EventSpec(5, 0x7FFFFFFF), false}, // high bit orders last
        {EventSpec(5, 0x7FFFFFFF), EventSpec(5, 0x80000000), true},
        {EventSpec(5, 5), EventSpec(5, 5), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a < c.b, c.less) << c.a.getFamily() << "/" << c.a.getKind();
    }
    EXPECT_EQ(EventSpec(HostEvent::ID, 0).getFamily(), 0x484F5354u);
    EXPECT_EQ(EventSpec(1, 2), EventSpec(1, 2));
    EXPECT_NE(EventSpec(1, 2), EventSpec(2, 1));
}

TEST(PublisherTest, DispatchByPriorityThenRegistrationOrderUntilOneTakes) {
    Journal journal;
    Probe first("first", journal), second("second", journal), urgent("urgent", journal),
        other("other", journal, {menuSpec});
    Publisher publisher;
    publisher.addSubscriber(&first);
    publisher.addSubscriber(&second);
    publisher.addSubscriber(&urgent);
    publisher.addSubscriber(&other);
    urgent.setPriority(1);

    ProjectEvent event(4);
    EXPECT_FALSE(publisher.publishEvent(event));
    EXPECT_EQ(journal, (Journal{"urgent", "first", "second"}));

    journal.clear();
    first.m_takes = true;
    EXPECT_TRUE(publisher.publishEvent(event));
    EXPECT_EQ(journal, (Journal{"urgent", "first"}));

    journal.clear();
    publisher.removeSubscriber(&first);
    EXPECT_FALSE(publisher.publishEvent(event));
    EXPECT_EQ(journal, (Journal{"urgent", "second"}));

    journal.clear();
    publisher.removeAllSubscribers();
    EXPECT_FALSE(publisher.publishEvent(event));
    EXPECT_TRUE(journal.empty());
}

TEST(PublisherTest, AddingTwiceRegistersOnceAtTheNewPlace) {
    Journal journal;
    Probe a("a", journal), b("b", journal);
    Publisher publisher;
    publisher.addSubscriber(&a);
    publisher.addSubscriber(&b);
    publisher.addSubscriber(&a);
    publisher.addSubscriber(nullptr);
    ProjectEvent event(1);
    publisher.publishEvent(event);
    EXPECT_EQ(journal, (Journal{"b", "a"}));
}

TEST(PublisherTest, LifeCycleStepsRunOncePerPublisherAndSubscriber) {
    Journal journal;
    Probe twoSpecs("two", journal, {projectSpec, menuSpec});
    Probe noSpecs("none", journal, {});
    Probe failing("failing", journal, {menuSpec});
    Publisher publisher;
    EXPECT_FALSE(publisher.checkEnvironment()); // never had a subscriber
    publisher.addSubscriber(&twoSpecs);
    publisher.addSubscriber(&noSpecs);

    EXPECT_TRUE(publisher.checkEnvironment());
    EXPECT_EQ(journal, (Journal{"none:check", "two:check"})); // empty spec orders first
    EXPECT_FALSE(publisher.checkEnvironment());
    EXPECT_EQ(journal.size(), 2u);
    EXPECT_TRUE(twoSpecs.isEnvironmentChecked());

    // A subscriber with no event keys takes no events.
    journal.clear();
    ProjectEvent project(1);
    publisher.publishEvent(project);
    EXPECT_EQ(journal, (Journal{"two"}));

    journal.clear();
    publisher.addSubscriber(&failing);
    failing.m_passes = false;
    EXPECT_FALSE(publisher.registerInterface());
    EXPECT_EQ(journal, (Journal{"none:register", "two:register", "failing:register"}));
    EXPECT_TRUE(twoSpecs.isInterfaceRegistered());
    EXPECT_FALSE(failing.isInterfaceRegistered());
    journal.clear();
    EXPECT_FALSE(publisher.registerInterface()); // a failed step stays run
    EXPECT_TRUE(journal.empty());

    EXPECT_FALSE(publisher.initialise()); // stops at the failing subscriber
    journal.clear();
    EXPECT_FALSE(publisher.initialise());
    EXPECT_TRUE(journal.empty());

    Publisher emptied;
    emptied.checkStatus(true);
    EXPECT_TRUE(emptied.checkEnvironment());
    EXPECT_TRUE(emptied.checkStatus(false));
}

TEST(PublisherTest, CopyKeepsFlagsAndSharesSubscribersNotOwnership) {
    Journal journal;
    Probe a("a", journal);
    Publisher original;
    original.addSubscriber(&a);
    EXPECT_TRUE(original.checkEnvironment());

    Publisher copy(original);
    EXPECT_FALSE(copy.checkEnvironment());
    original.removeAllSubscribers();
    ProjectEvent event(1);
    EXPECT_FALSE(copy.publishEvent(event));
    EXPECT_EQ(journal, (Journal{"a:check", "a"}));

    Publisher assigned;
    assigned = copy;
    EXPECT_TRUE(assigned.checkStatus(false));
    EXPECT_FALSE(assigned.checkEnvironment());
    assigned = assigned;
    EXPECT_TRUE(assigned.checkStatus(false));
}

TEST(PublisherTest, HandlersMayChangeTheRegistryDuringADispatch) {
    Journal journal;
    Publisher publisher;
    Probe late("late", journal);
    struct Adder : Subscriber {
        Publisher* publisher = nullptr;
        Subscriber* toAdd = nullptr;
        Journal* journal = nullptr;
        void getSpec(std::vector<EventSpec>& specs) const override { specs.push_back(projectSpec); }
        bool takeEvent(Event&) override {
            journal->push_back("adder");
            publisher->removeSubscriber(this);
            publisher->addSubscriber(toAdd);
            return false;
        }
    } adder;
    adder.publisher = &publisher;
    adder.toAdd = &late;
    adder.journal = &journal;
    publisher.addSubscriber(&adder);

    ProjectEvent event(1);
    publisher.publishEvent(event);
    EXPECT_EQ(journal, (Journal{"adder"}));
    publisher.publishEvent(event);
    EXPECT_EQ(journal, (Journal{"adder", "late"}));
}
