#include "Remap/RemapElements.h"

#include "Addon/EditManager.h"
#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Element/ComponentElem.h"
#include "Element/Object.h"
#include "Element/Opening.h"
#include "Environment/Host.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"
#include "Geometry/Cube.h"
#include "Geometry/Rotater.h"
#include "Interface/NotifyAlert.h"
#include "Interface/ProgressWindow.h"
#include "Library/ComponentDefaults.h"
#include "Library/ObjectSource.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/OpenProjectHold.h"
#include "Remap/PartKey.h"
#include "Remap/SpecificationList.h"

#include <map>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace zelvane::remap {

namespace {

// A box no higher than this is the host's flat fallback box: it tells nothing of the height.
constexpr double flatHeight = 1e-5;

struct Counts {
    std::size_t processed = 0;
    std::size_t changed = 0;
    std::size_t unmapped = 0;
};

// Full element data is loaded for the run; the class-wide switch is put back however it ends.
class FullDataScope {
public:
    FullDataScope() : m_saved(Element::m_isMinData) { Element::m_isMinData = false; }
    FullDataScope(const FullDataScope&) = delete;
    FullDataScope& operator=(const FullDataScope&) = delete;
    ~FullDataScope() { Element::m_isMinData = m_saved; }

private:
    bool m_saved;
};

// The edit manager of a run. The normal end restores what it opened with restore(); when the run
// ends by an exception the destructor does, keeping the first exception.
class EditScope {
public:
    // A run changes no layer but through the manager.
    EditScope() : m_manager(true, true) { m_manager.setLayersSteady(true); }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;
    ~EditScope() {
        if (!m_restored) {
            try {
                m_manager.restoreAll(false);
            } catch (...) {
                // The exception that ended the run is the one reported.
            }
        }
    }
    EditManager& manager() { return m_manager; }
    void restore() {
        m_restored = true;
        m_manager.restoreAll(false);
    }

private:
    EditManager m_manager;
    bool m_restored = false;
};

// The drawing holding a collected element. A model view (section, elevation, interior elevation,
// 3D document) shows floor-plan elements: they are changed on the floor plan, as putting them
// through the view would make copies.
Drawing* homeOf(const ElementLink& link, Drawing& fallback) {
    Drawing* source = link.getSource();
    if (source == nullptr) {
        return &fallback;
    }
    switch (link.getSourceLink().getType()) {
    case APIWind_SectionID:
    case APIWind_ElevationID:
    case APIWind_InteriorElevationID:
    case APIWind_DocumentFrom3DID:
        if (Plan* plan = host.getFrontPlan()) {
            return plan;
        }
        break;
    default:
        break;
    }
    return source;
}

// The middle of a box's edge along X at its origin corner: the point an object's new part keeps.
CadPoint referenceOf(const Cube& box) {
    return box.getOrigin() + CadPoint(box.getWidth() * 0.5, 0.0, 0.0);
}

// An object's own sizes as its parameters hold them (its record's when a parameter is missing).
struct Sizes {
    double width = 0.0;
    double depth = 0.0;
    double height = 0.0;
};

Sizes ownSizesOf(const Object& object) {
    Sizes sizes{object.ComponentParameterMemo::getAxialWidth(),
                object.ComponentParameterMemo::getAxialDepth(), object.getAxialHeight()};
    if (sizes.width <= 0.0) {
        sizes.width = object.getAxialWidth();
    }
    if (sizes.depth <= 0.0) {
        sizes.depth = object.getAxialDepth();
    }
    return sizes;
}

// After a re-point (before the rule's values): a door or window keeps its opening's width and
// height as its part's A and ZZYZX; an object given its own sizes takes them back.
void keepSizes(ComponentElem& element, const Sizes* own, ObjectMap::Type kind) {
    if (auto* opening = dynamic_cast<Opening*>(&element)) {
        opening->ComponentParameterMemo::setAxialWidth(opening->getOpenWidth());
        opening->ComponentParameterMemo::setAxialHeight(opening->getOpenHeight());
        return;
    }
    auto* object = dynamic_cast<Object*>(&element);
    if (object == nullptr || own == nullptr) {
        return;
    }
    if (own->width > 0.0) {
        object->setAxialWidth(own->width);
    }
    if (own->depth > 0.0) {
        object->setAxialDepth(own->depth);
    }
    if (kind != ObjectMap::DWG && own->height > flatHeight) {
        object->setAxialHeight(own->height);
    }
}

void takeRule(ComponentElem& element, const ObjectSpecification& rule) {
    rule.applyParametersTo(element);
    element.setClass(0);
}

bool takesSourceFinishes(ObjectMap::Type kind) {
    return kind == ObjectMap::IFC || kind == ObjectMap::DWG;
}

// An element whose old part is not in the library: re-pointed, its own sizes kept, and put.
bool remapMissing(ComponentElem& element, Drawing& drawing, const ComponentLink& target,
                  const ObjectSpecification& rule, ObjectMap::Type kind) {
    auto* object = dynamic_cast<Object*>(&element);
    Sizes own;
    if (object != nullptr) {
        own = ownSizesOf(*object);
    }
    if (!element.setSourceLink(target, false, true)) {
        return false;
    }
    keepSizes(element, object != nullptr ? &own : nullptr, kind);
    takeRule(element, rule);
    return drawing.put(element, false, true);
}

// A door or window whose old part is loaded.
bool remapOpening(ComponentElem& element, Drawing& drawing, const ComponentLink& target,
                  const ObjectSpecification& rule, ObjectMap::Type kind) {
    if (!element.setSourceLink(target, false, true)) {
        return false;
    }
    keepSizes(element, nullptr, kind);
    takeRule(element, rule);
    if (takesSourceFinishes(kind)) {
        element.setSourceFinishes(true);
    }
    return drawing.put(element, false, true);
}

// An object or lamp whose old part is loaded. Measured unrotated before and after, the new part
// takes the old box's plan size (and height, unless DWG or flat) and is moved so that the middle of
// its front edge lies where the old part's did; then its rotation and base level come back.
// Changed only when both the remap and the restoring put succeed; a failed re-point or remap put
// leaves the element as it was before the re-point.
bool remapObject(Object& object, Drawing& drawing, const ComponentLink& target, const ObjectSource* part,
                 const ComponentDefaults* defaults, const ObjectSpecification& rule, ObjectMap::Type kind) {
    const double rotation = object.getRotation2D();
    // Its height is the object's absolute base level, which comes back with the plan position.
    const CadPoint origin = object.getOrigin();
    const double stored = object.getRecord().angle;
    object.setRotation2D(0.0);
    // An object already unrotated is measured as the host has it: putting it first would write
    // back what was loaded.
    if (object.getRecord().angle != stored && !drawing.put(object, false, true)) {
        return false;
    }
    object.clear3D();
    Cube before;
    bool remapped = false;
    CadPoint offset;
    if (object.measureBoundingCube(before, false)) {
        // The element as it stands, taken back whole (part, sizes, values) should the remap fail.
        const Object unchanged(object);
        bool repointed = part == nullptr       ? object.setSourceLink(target, false, true)
                         : defaults != nullptr ? object.setSourceLink(target, *part, *defaults, false, true)
                                               : object.setSourceLink(target, *part, false, true);
        if (repointed) {
            object.setAxialWidth(before.getWidth());
            object.setAxialDepth(before.getDepth());
            if (kind != ObjectMap::DWG && before.getHeight() > flatHeight) {
                object.setAxialHeight(before.getHeight());
            }
            takeRule(object, rule);
            if (takesSourceFinishes(kind)) {
                object.setSourceFinishes(true);
            }
            remapped = drawing.put(object, false, true);
        }
        if (remapped) {
            object.clear3D();
            if (Cube after; object.measureBoundingCube(after, false)) {
                offset = referenceOf(before) - referenceOf(after);
                ZRotater(rotation, 1e-5).transformPt(offset);
            }
        } else {
            // The new part's defaults were not had, or the host kept the old part: the restoring
            // put writes the old part with its own values.
            object.Object::operator=(unchanged);
        }
    }
    object.setRotation2D(rotation);
    object.setOrigin(CadPoint(origin.x() + offset.x(), origin.y() + offset.y(), origin.z()));
    // After the remap put the host holds the object's parameters as they are: only its record is
    // put back. Any other way the restoring put writes the old part's parameters too.
    bool restored = drawing.put(object, false, !remapped);
    return remapped && restored;
}

// Whether elements take a rule's target. The answer depends on the element's class alone (and
// the library, which a run does not change): it is asked of the library once a class and target.
class TargetCheck {
public:
    explicit TargetCheck(const ComponentLink& target) : m_target(target) {}
    const ComponentLink& target() const { return m_target; }
    bool isAcceptedBy(const ComponentElem& element) {
        auto found = m_answers.find(std::type_index(typeid(element)));
        if (found == m_answers.end()) {
            found =
                m_answers.emplace(std::type_index(typeid(element)), element.acceptsSource(m_target)).first;
        }
        return found->second;
    }
    // The target as an object's part, loaded once; null when objects refuse it.
    const ObjectSource* objectPart() {
        if (!m_partLoaded) {
            m_partLoaded = true;
            m_part.reset(Object::loadSource(m_target));
        }
        return m_part.get();
    }
    // The object part's defaults, fetched once; null when they cannot be had or objects refuse the
    // target (each object then asks for them itself).
    const ComponentDefaults* objectDefaults() {
        if (!m_defaultsFetched) {
            m_defaultsFetched = true;
            if (const ObjectSource* part = objectPart()) {
                m_defaults.fetch(
                    ComponentLink(m_target.getIndex(), m_target.getType(), part->getLink().getLibrary()));
            }
        }
        return m_defaults.isFetched() ? &m_defaults : nullptr;
    }

private:
    const ComponentLink& m_target;
    std::map<std::type_index, bool> m_answers;
    std::unique_ptr<ObjectSource> m_part;
    bool m_partLoaded = false;
    ComponentDefaults m_defaults;
    bool m_defaultsFetched = false;
};

// Whether elements' parts are in the library. The answer depends on the part alone (and the
// library, which a run does not change): each part is looked up once a run.
class PartCheck {
public:
    bool isFound(const ComponentElem& element) {
        const PartKey key(element.getSourceLink());
        auto found = m_found.find(key);
        if (found == m_found.end()) {
            found = m_found.emplace(key, element.isSourceFound()).first;
        }
        return found->second;
    }

private:
    std::unordered_map<PartKey, bool, PartKeyHash> m_found;
};

// One collected element: loaded through its drawing, made editable, checked against the target
// (a refused target is processed, never put) and remapped.
void remapOne(const ElementLink& link, Drawing& fallback, EditManager& edits, TargetCheck& check,
              PartCheck& parts, const ObjectSpecification& rule, ObjectMap::Type kind, Counts& counts) {
    const ComponentLink& target = check.target();
    Drawing* drawing = homeOf(link, fallback);
    std::unique_ptr<Element> loaded((*drawing)[link]);
    if (loaded != nullptr && !loaded->getLink().getSourceLink().isSameDatabaseAs(drawing->getLink())) {
        // Loaded while a view is current, the element names the view: it is put back where it is,
        // on its own storey.
        ElementLink home(loaded->getLink());
        home.setSource(drawing);
        home.setStoreyIndex(short(loaded->getHead().floorInd));
        loaded->setLink(home);
    }
    auto* element = dynamic_cast<ComponentElem*>(loaded.get());
    if (element == nullptr || !edits.enableEdit(*element, true, true, false)) {
        return;
    }
    ++counts.processed;
    if (!check.isAcceptedBy(*element)) {
        return;
    }
    bool changed = false;
    if (!parts.isFound(*element)) {
        changed = remapMissing(*element, *drawing, target, rule, kind);
    } else if (auto* object = dynamic_cast<Object*>(element)) {
        changed =
            remapObject(*object, *drawing, target, check.objectPart(), check.objectDefaults(), rule, kind);
    } else {
        changed = remapOpening(*element, *drawing, target, rule, kind);
    }
    if (changed) {
        ++counts.changed;
    }
}

void addLine(String& text, short index, std::size_t count) {
    String line = host.getLocalString(32522, index);
    replaceAll(line, String("$1"), ToString(static_cast<unsigned long long>(count)));
    text += line;
    text += "\n";
}

} // namespace

String remapNotice(std::size_t changed, std::size_t unmapped, std::size_t unchanged) {
    if (changed == 0 && unmapped == 0 && unchanged == 0) {
        return host.getLocalString(32522, 1);
    }
    String text;
    if (changed > 0) {
        addLine(text, 2, changed);
    }
    if (unmapped > 0) {
        addLine(text, 3, unmapped);
    }
    if (unchanged > 0) {
        addLine(text, 4, unchanged);
    }
    return text;
}

std::size_t remapElements(ObjectMap::Type kind, Drawing& drawing,
                          const ObjectMapTransaction::ElementMap& elements, ObjectMap& objectMap,
                          const String& sourceName) {
    std::shared_ptr<ProgressWindow> progress = ProgressWindow::create(host.getLocalString(32520, 3), 1);
    if (progress == nullptr || !progress->isLive()) {
        return 0;
    }
    // Only the chosen source's rules remap: a key without one there has none, or another
    // source's, and is left as it is. The list answers each key in one look-up, made once: the
    // keys' rules are kept in the keys' order.
    const SpecificationList* rules = objectMap.getLists().getSpecificationList(sourceName, kind);
    std::vector<ObjectSpecification*> keyRules;
    keyRules.reserve(elements.size());
    std::size_t work = 0;
    for (const auto& [key, links] : elements) {
        keyRules.push_back(rules != nullptr ? rules->find(key) : nullptr);
        if (keyRules.back() != nullptr) {
            work += links.size();
        }
    }
    Counts counts;
    {
        FullDataScope fullData;
        OpenProjectHold openProject;
        EditScope edits;
        PartCheck parts;
        progress->startNext(host.getLocalString(32522, 13), static_cast<Int32>(work));
        auto keyRule = keyRules.begin();
        for (const auto& entry : elements) {
            const std::vector<ElementLink>& links = entry.second;
            ObjectSpecification* rule = *keyRule++;
            if (progress->isCancelled()) {
                break;
            }
            if (rule == nullptr) {
                continue;
            }
            const ComponentLink* target = rule->getMappedLink();
            if (target == nullptr) {
                ++counts.unmapped;
                continue;
            }
            TargetCheck check(*target);
            for (const ElementLink& link : links) {
                if (progress->isCancelled()) {
                    break;
                }
                remapOne(link, drawing, edits.manager(), check, parts, *rule, kind, counts);
                ++*progress;
            }
        }
        edits.restore();
    }
    progress.reset();
    NotifyAlert().show(remapNotice(counts.changed, counts.unmapped, counts.processed - counts.changed));
    return counts.changed;
}

} // namespace zelvane::remap
