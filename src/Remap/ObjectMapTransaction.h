// The remapping command of one source kind, run by the host facade as one undoable host command:
// it collects the placed library-part elements of the kind by source name, lets the user map the
// sources to library parts, then points the elements at their mapped parts.
#pragma once

#include "Addon/Transaction.h"
#include "Database/ElementLink.h"
#include "Remap/ComponentLog.h"
#include "Remap/ObjectMap.h"

#include <map>
#include <vector>

namespace zelvane {
class ComponentElem;
class Drawing;
class Library;
class ProgressMonitor;
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
    // Remaps the collected elements with the rules of the kind's chosen source, the host's groups
    // switched off meanwhile; always 0. Without a drawing or preferences (initialise did not find
    // them) nothing happens.
    GSErrCode run() override;
    // After a successful run the drawing is redrawn.
    void postProcess(bool success) override;

    // Finds what the command works on: the active drawing (else the floor plan), the project's
    // attribute set and the add-on's project preferences; false when any is missing.
    bool findTargets();

    // Sets name to the element's part name; true when the part is not in the library or its file
    // does not exist.
    static bool isMissing(const ComponentElem& element, String& name);
    // The name under which an element is collected for the source kind; false when the element
    // does not belong to the kind.
    static bool getSourceName(ObjectMap::Type kind, ComponentElem& element, String& name);
    // A legacy part's name without its version suffix: the suffix is a run of digits after at least
    // one other character, 8 to 20 or 40 to 99 (versions 4 to 9), below the host's version.
    static bool getLegacyName(const String& partName, String& name);

    // Appends the library's placeable parts to the list, in library order; false when the progress
    // window reports cancel.
    static bool scanLibrary(Library& library, ProgressMonitor& progress, std::vector<ComponentLog>& parts);
    // Collects the kind's elements of the drawing into the element map: those of the selection,
    // else (nothing of the selection qualifying) those of the whole drawing. Elements are walked
    // without being written back. False when the progress window reports cancel.
    bool collect(Drawing& drawing, ProgressMonitor& progress);
    // Reads the object-map file into the object map. A missing file is made with a default source
    // of each kind where there is still none. A file read whose content is no whole map is replaced
    // so only when the user agrees, and only while it is still the file read; else the command
    // stops with a notice, as it does (with the same notice) when the preferences folder cannot be
    // found, or the file or its folder is refused or cannot be read. False when the command ends
    // here.
    bool loadObjectMap();
    // Whether the object map was found missing and none could be made: a save then makes it only
    // where there is still none.
    bool mapMustBeNew() const { return m_mapMustBeNew; }

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
    bool m_mapMustBeNew = false;
};

} // namespace zelvane::remap
