// How the host facade runs transactions, kept apart from its other host services.
#include "ACAPI/Output.hpp"
#include "Addon/Addon.h"
#include "Addon/Transaction.h"
#include "Environment/Host.h"

namespace zelvane {
namespace {

struct Outcome {
    bool succeeded = false;
    bool failed = false;
};

// Runs the transaction's change and relocks the elements it unlocked, whatever happened; an
// exception becomes a failure with a non-zero answer, so that it never unwinds through the host.
GSErrCode runGuarded(Transaction& transaction, bool& thrown) {
    GSErrCode err = NoError;
    try {
        err = transaction.run();
    } catch (...) {
        thrown = true;
    }
    try {
        transaction.getEditManager().restoreElements();
    } catch (...) {
        thrown = true;
    }
    if (thrown && err == NoError) {
        err = APIERR_GENERAL;
    }
    return err;
}

Outcome runOutermost(Transaction& transaction) {
    bool thrown = false;
    GSErrCode err = ACAPI_CallUndoableCommand(
        transaction.getName(), [&transaction, &thrown] { return runGuarded(transaction, thrown); });
    Outcome outcome;
    outcome.failed = thrown || err == APIERR_REFUSEDCMD;
    outcome.succeeded = err == NoError;
    return outcome;
}

Outcome runNested(Transaction& transaction) {
    bool thrown = false;
    GSErrCode err = runGuarded(transaction, thrown);
    Outcome outcome;
    outcome.failed = thrown;
    outcome.succeeded = err == NoError;
    return outcome;
}

} // namespace

bool Host::makeTransaction(Transaction& transaction) {
    if (!isTransactionAllowed()) {
        String message = addon->getProductInfo().name;
        message += " is trying to start a transaction at the wrong time\n";
        writeToConsole(message);
        return false;
    }
    if (!transaction.initialise()) {
        return true;
    }
    UInt32 id = 0;
    if (m_transactionID == 0) {
        m_transactionID = ++m_transactionCount;
        id = m_transactionID;
    }
    // A transaction run again inside another must not keep the ID of its earlier run.
    transaction.setID(id);
    Outcome outcome;
    try {
        outcome = id != 0 ? runOutermost(transaction) : runNested(transaction);
    } catch (...) {
        outcome.failed = true;
    }
    if (id != 0 && id == m_transactionID) {
        m_transactionID = 0;
    }
    if (outcome.failed && addon != nullptr) {
        try {
            addon->reportUnexpectedFailure();
        } catch (...) {
            // The failure report is the last thing that can be told; the result still stands.
        }
    }
    EditManager& manager = transaction.getEditManager();
    manager.restoreLayers();
    manager.releaseElements();
    bool result = outcome.succeeded && !outcome.failed;
    transaction.postProcess(result);
    return result;
}

bool Host::isTransactionAllowed() const {
    return addon == nullptr || !addon->isInProjectEvent();
}

bool Host::isUndoableActionAllowed() const {
    return m_transactionCount != 0 || (addon != nullptr && addon->isDatabaseRun());
}

} // namespace zelvane
