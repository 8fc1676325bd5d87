// One drawing database of the project seen as a container of elements, and the module-wide
// registry of the factories that make element objects from host element records.
#pragma once

#include "ACAPI/Elements.hpp"
#include "Database/DrawingLink.h"
#include "Element/ElementID.h"

namespace zelvane {

class Element;
class ElementLink;
class MemoStore;
class Project;

class Drawing {
public:
    // Every memo part an element may have.
    static constexpr unsigned long long allMemoParts = 0x7FFFFFBFFFFFFFULL;

    // Makes the element object for a host record, or answers null when it does not take it.
    using Factory = Element* (*)(const API_Element& record, const ElementLink& link);

    explicit Drawing(Project* project = nullptr, const DatabaseGuid& id = DatabaseGuid())
        : m_project(project), m_id(id) {}
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    virtual ~Drawing() = default;

    // The host window type of the database.
    virtual API_WindowTypeID getType() const = 0;
    virtual const DatabaseGuid& getID() const { return m_id; }
    virtual DrawingLink getLink() const { return DrawingLink(getType(), getID()); }
    Project* getProject() const { return m_project; }

    // Start and stop the factory registry (framework start-up and shutdown).
    static void startup();
    static void shutdown();
    // Registers a factory for the kind's type (factories serve every subtype), as an adapter
    // (tried first) or a creator; a factory already registered for the type is not added again.
    // Answers the registered factory.
    static Factory addAdapter(const element_id& kind, Factory factory, bool adapter);
    // The element object for a host record: the link takes the record's variation, then the
    // adapters and then the creators registered for the record's type are asked in registration
    // order; the first object made is answered (the caller deletes it), or null. With a store, the
    // element takes its memo parts from it.
    static Element* createElement(const API_Element& record, ElementLink& link, MemoStore* store = nullptr);

private:
    Project* m_project; // not owned
    DatabaseGuid m_id;
};

} // namespace zelvane
