// The remapping command of one source kind, run by the host facade as one undoable host command:
// it collects the placed library-part elements of the kind by source name, lets the user map the
// sources to library parts, then points the elements at their mapped parts.
#pragma once

#include "Addon/Transaction.h"
#include "Database/ElementLink.h"
#include "Remap/ObjectMap.h"

#include <map>
#include <vector>

namespace zelvane {
class Drawing;
class Specification;
} // namespace zelvane

namespace zelvane::remap {

class RemappingPrefs;

class ObjectMapTransaction : public Transaction {
public:
    // The collected elements by rule key, each key's in the order they were met; keys order by
    // library-part type, then by source name.
    using ElementMap = std::map<ObjectMap::Key, std::vector<ElementLink>>;

    // Named by localised string 32526/1, with an empty object map and element map.
    explicit ObjectMapTransaction(ObjectMap::Type kind = ObjectMap::none);

    // False (nothing runs) for kind none.
    bool initialise() override;
    // Remaps the collected elements; with nothing collected the project stays as it is.
    GSErrCode run() override;

    ObjectMap::Type getSourceKind() const { return m_sourceKind; }
    void setSourceKind(ObjectMap::Type kind) { m_sourceKind = kind; }
    ObjectMap& getObjectMap() { return m_objectMap; }
    ElementMap& getElementMap() { return m_elementMap; }
    Drawing* getDrawing() const { return m_drawing; }
    Specification* getSpecification() const { return m_specification; }
    RemappingPrefs* getPreferences() const { return m_preferences; }

private:
    ObjectMap m_objectMap;
    ElementMap m_elementMap;
    Drawing* m_drawing = nullptr;             // not owned
    Specification* m_specification = nullptr; // not owned
    RemappingPrefs* m_preferences = nullptr;  // not owned
    ObjectMap::Type m_sourceKind;
};

} // namespace zelvane::remap
