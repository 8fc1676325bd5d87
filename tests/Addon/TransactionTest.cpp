#include "Addon/Transaction.h"
#include "Addon/DatabaseEvent.h"
#include "Addon/MenuEvent.h"
#include "Addon/ProjectEvent.h"
#include "Database/ElementLink.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "TestAddon.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_addon;

namespace {

// A transaction whose steps are given by the test; it records what the facade did with it.
class ScriptedTransaction : public Transaction {
public:
    explicit ScriptedTransaction(const char* name, std::function<GSErrCode(ScriptedTransaction&)> work = {})
        : Transaction(String(name)), m_work(std::move(work)) {}

    void setID(UInt32 id) override {
        ids.push_back(id);
        Transaction::setID(id);
    }
    bool initialise() override {
        ++initialised;
        return proceed;
    }
    GSErrCode run() override {
        ++runs;
        idsInRun.push_back(getID());
        return m_work ? m_work(*this) : NoError;
    }
    void postProcess(bool success) override { results.push_back(success); }

    bool proceed = true;
    int initialised = 0;
    int runs = 0;
    std::vector<UInt32> ids;
    std::vector<UInt32> idsInRun;
    std::vector<bool> results;

private:
    std::function<GSErrCode(ScriptedTransaction&)> m_work;
};

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.reset();
        addon = &m_addon;
    }
    void TearDown() override {
        addon = nullptr;
        host.reset();
    }

    TestAddon m_addon;
};

} // namespace

TEST_F(TransactionTest, IDsCountWithinOneEntryAndRestartInTheNext) {
    ScriptedTransaction first("First");
    ScriptedTransaction second("Second");
    EXPECT_FALSE(host.isUndoableActionAllowed());
    EXPECT_TRUE(host.makeTransaction(first));
    EXPECT_TRUE(host.isUndoableActionAllowed()) << "a transaction was started in this entry";
    EXPECT_TRUE(host.makeTransaction(second));
    EXPECT_EQ(first.idsInRun, std::vector<UInt32>{1});
    EXPECT_EQ(second.idsInRun, std::vector<UInt32>{2});

    host.reset();
    EXPECT_FALSE(host.isUndoableActionAllowed());
    EXPECT_TRUE(host.makeTransaction(second));
    EXPECT_EQ(second.idsInRun.back(), 1u);
    ASSERT_EQ(sim::undoSteps().size(), 3u);
    EXPECT_EQ(sim::undoSteps()[0].name, "First");
    EXPECT_EQ(sim::undoSteps()[1].name, "Second");
    EXPECT_EQ(first.results, std::vector<bool>{true});
}

TEST_F(TransactionTest, EveryHostOutcome) {
    struct Case {
        const char* name;
        GSErrCode runAnswer;
        GSErrCode injected; // into the host's undoable command, NoError for none
        bool result;
        bool reported;
        int runs;
    };
    for (const Case& c : {Case{"succeeds", NoError, NoError, true, false, 1},
                          Case{"run answers an error", APIERR_CANCEL, NoError, false, false, 1},
                          Case{"host refuses the command", NoError, APIERR_REFUSEDCMD, false, true, 0},
                          Case{"host answers another error", NoError, APIERR_MEMFULL, false, false, 0}}) {
        sim::reset();
        host.reset();
        m_addon.failures = 0;
        if (c.injected != NoError) {
            sim::failCall("ACAPI_CallUndoableCommand", c.injected);
        }
        ScriptedTransaction transaction(c.name, [&](ScriptedTransaction&) { return c.runAnswer; });
        EXPECT_EQ(host.makeTransaction(transaction), c.result) << c.name;
        EXPECT_EQ(transaction.runs, c.runs) << c.name;
        EXPECT_EQ(m_addon.failures, c.reported ? 1 : 0) << c.name;
        EXPECT_EQ(transaction.results, std::vector<bool>{c.result}) << c.name;
        ASSERT_EQ(sim::undoSteps().size(), 1u) << c.name;
        EXPECT_EQ(sim::undoSteps()[0].result, c.injected != NoError ? c.injected : c.runAnswer) << c.name;

        // The current ID was cleared: the next transaction is outermost again, with the next ID.
        ScriptedTransaction next("next");
        EXPECT_TRUE(host.makeTransaction(next)) << c.name;
        EXPECT_EQ(next.idsInRun, std::vector<UInt32>{2}) << c.name;
    }
}

TEST_F(TransactionTest, ACancelledTransactionRunsNothingAndIsNoFailure) {
    ScriptedTransaction cancelled("Cancelled");
    cancelled.proceed = false;
    EXPECT_TRUE(host.makeTransaction(cancelled));
    EXPECT_EQ(cancelled.initialised, 1);
    EXPECT_EQ(cancelled.runs, 0);
    EXPECT_TRUE(cancelled.ids.empty());
    EXPECT_TRUE(cancelled.results.empty()) << "no postProcess";
    EXPECT_TRUE(sim::undoSteps().empty());
    EXPECT_FALSE(host.isUndoableActionAllowed()) << "nothing was started";
    EXPECT_EQ(m_addon.failures, 0);
}

TEST_F(TransactionTest, NestedTransactionsRunInsideTheOuterStep) {
    struct Case {
        const char* name;
        GSErrCode innerAnswer;
        bool innerThrows;
        bool innerResult;
        int reports;
    };
    for (const Case& c : {Case{"inner succeeds", NoError, false, true, 0},
                          Case{"inner fails", APIERR_CANCEL, false, false, 0},
                          Case{"inner throws", NoError, true, false, 1}}) {
        sim::reset();
        host.reset();
        m_addon.failures = 0;
        ScriptedTransaction inner("Inner", [&](ScriptedTransaction&) -> GSErrCode {
            EXPECT_TRUE(sim::isUndoableCommandRunning()) << "the inner step runs inside the outer";
            if (c.innerThrows) {
                throw std::runtime_error("inner");
            }
            return c.innerAnswer;
        });
        bool innerResult = !c.innerResult;
        ScriptedTransaction outer("Outer", [&](ScriptedTransaction&) {
            innerResult = host.makeTransaction(inner);
            return NoError;
        });
        EXPECT_TRUE(host.makeTransaction(outer)) << c.name << ": the outer result is its own";
        EXPECT_EQ(innerResult, c.innerResult) << c.name;
        EXPECT_EQ(inner.ids, std::vector<UInt32>{0}) << c.name;
        EXPECT_EQ(outer.idsInRun, std::vector<UInt32>{1}) << c.name;
        EXPECT_EQ(m_addon.failures, c.reports) << c.name;
        ASSERT_EQ(sim::undoSteps().size(), 1u) << c.name << ": one undo step";
        EXPECT_EQ(sim::undoSteps()[0].name, "Outer");
    }
}

TEST_F(TransactionTest, AnObjectRunAgainInsideItselfKeepsNoStaleID) {
    int depth = 0;
    ScriptedTransaction again("Again", [&](ScriptedTransaction& self) {
        if (++depth == 1) {
            EXPECT_TRUE(host.makeTransaction(self));
        }
        return NoError;
    });
    EXPECT_TRUE(host.makeTransaction(again));
    EXPECT_EQ(again.ids, (std::vector<UInt32>{1, 0}));
    EXPECT_EQ(again.idsInRun, (std::vector<UInt32>{1, 0}));
    EXPECT_EQ(again.results, (std::vector<bool>{true, true}));

    // The outer run cleared the current ID although the object's own ID had changed.
    ScriptedTransaction next("Next");
    EXPECT_TRUE(host.makeTransaction(next));
    EXPECT_EQ(next.idsInRun, std::vector<UInt32>{2});
    EXPECT_EQ(sim::undoSteps().size(), 2u);
}

TEST_F(TransactionTest, AnExceptionInRunNeverCrossesTheHost) {
    ScriptedTransaction thrower("Thrower",
                                [](ScriptedTransaction&) -> GSErrCode { throw std::runtime_error("run"); });
    EXPECT_FALSE(host.makeTransaction(thrower));
    EXPECT_EQ(m_addon.failures, 1);
    EXPECT_EQ(thrower.results, std::vector<bool>{false});
    ASSERT_EQ(sim::undoSteps().size(), 1u);
    EXPECT_FALSE(sim::undoSteps()[0].unwound);
    EXPECT_NE(sim::undoSteps()[0].result, NoError) << "the host drops the step";
    EXPECT_FALSE(sim::isUndoableCommandRunning());

    ScriptedTransaction next("Next");
    EXPECT_TRUE(host.makeTransaction(next));
    EXPECT_EQ(next.idsInRun, std::vector<UInt32>{2});

    // A failure report that throws changes nothing of the result.
    m_addon.throwOnReport = true;
    EXPECT_FALSE(host.makeTransaction(thrower));
    EXPECT_EQ(m_addon.failures, 2);
}

TEST_F(TransactionTest, RefusedWhileAProjectNotificationIsHandled) {
    ScriptedTransaction refused("Refused");
    bool result = true;
    bool allowed = true;
    Probe project(EventSpec(HostEvent::ID, ProjectEvent::ID), [&](Event&) {
        allowed = host.isTransactionAllowed();
        result = host.makeTransaction(refused);
        return true;
    });
    m_addon.addSubscriber(&project);
    ProjectEvent open(4);
    m_addon.publishExternalEvent(open, false);
    m_addon.removeAllSubscribers();
    EXPECT_FALSE(allowed);
    EXPECT_FALSE(result);
    EXPECT_EQ(refused.initialised, 0);
    EXPECT_EQ(refused.runs, 0);
    EXPECT_TRUE(refused.results.empty());
    EXPECT_TRUE(sim::undoSteps().empty());
    EXPECT_EQ(sim::consoleText(), "Sample Tool 2 is trying to start a transaction at the wrong time\n");
    EXPECT_TRUE(host.isTransactionAllowed()) << "allowed again after the notification";
}

TEST_F(TransactionTest, UndoableActionsAcrossEntriesAndDatabaseRuns) {
    sim::openProject();
    ElementLink link;
    struct Case {
        const char* name;
        Int32 databaseEvent; // 0: none
        bool runTransaction;
        bool allowed;
        bool creates; // new layouts and worksheets: refused only after a transaction of the entry
    };
    // Each step is an outermost entry of its own (a menu command or a database notification).
    for (const Case& c : {Case{"plain command", 0, false, false, true},
                          Case{"command with a transaction", 0, true, true, false},
                          Case{"next command", 0, false, false, true},
                          Case{"database run begins", Int32(0xFFFFFFFF), false, true, true},
                          Case{"notification inside the run", 5, false, true, true},
                          Case{"database run ends", Int32(0xFFFFFFFE), false, false, true}}) {
        bool allowed = !c.allowed;
        bool created = !c.creates;
        bool laidOut = !c.creates;
        auto check = [&](Event&) {
            if (c.runTransaction) {
                ScriptedTransaction transaction("Step");
                EXPECT_TRUE(host.makeTransaction(transaction));
            }
            allowed = host.isUndoableActionAllowed();
            created = host.getProject()->createWorksheet(c.name, "W") != nullptr;
            laidOut = host.getProject()->createLayout(c.name, DrawingLink(), String()) != nullptr;
            return true;
        };
        if (c.databaseEvent != 0) {
            Probe notified(EventSpec(HostEvent::ID, DatabaseEvent::ID), check);
            m_addon.addSubscriber(&notified);
            DatabaseEvent event(c.databaseEvent, link);
            m_addon.publishExternalEvent(event, true);
            m_addon.removeAllSubscribers();
        } else {
            Probe menu(EventSpec(HostEvent::ID, MenuEvent::ID), check);
            m_addon.addSubscriber(&menu);
            MenuEvent event(32500, 1);
            m_addon.publishExternalEvent(event, true);
            m_addon.removeAllSubscribers();
        }
        EXPECT_EQ(allowed, c.allowed) << c.name;
        EXPECT_EQ(created, c.creates) << c.name;
        EXPECT_EQ(laidOut, c.creates) << c.name;
    }
}
