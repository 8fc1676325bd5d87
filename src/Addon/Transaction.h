// One change to the project made as one undoable host command (or as part of the command already
// running). Subclasses prepare in initialise, change the project in run and follow up in
// postProcess; the host facade runs them through makeTransaction. The edit manager makes elements
// editable during the run (with reservation and unlocking) and the facade puts them back.
#pragma once

#include "Addon/EditManager.h"
#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class Transaction {
public:
    explicit Transaction(const String& name) : m_name(name), m_editManager(true, true) {}
    virtual ~Transaction() = default;

    // Given by the host facade: the number of the outermost transaction in the current host entry,
    // 0 for one that runs inside another.
    virtual void setID(UInt32 id) { m_id = id; }
    // Prepares the change; false cancels the transaction (no undo step, and no failure).
    virtual bool initialise() { return true; }
    // Makes the change; a host error code, 0 for success.
    virtual GSErrCode run() = 0;
    // Follows the run with its result.
    virtual void postProcess(bool /*success*/) {}

    // The name of the undo step.
    const String& getName() const { return m_name; }
    UInt32 getID() const { return m_id; }
    EditManager& getEditManager() { return m_editManager; }
    const EditManager& getEditManager() const { return m_editManager; }

private:
    String m_name;
    UInt32 m_id = 0;
    EditManager m_editManager;
};

} // namespace zelvane
