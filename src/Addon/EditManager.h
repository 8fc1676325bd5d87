// Makes elements editable for the time of a transaction (unlocking and showing their layers,
// reserving them in a shared project, unlocking locked elements) and afterwards puts everything
// back.
#pragma once

#include "Environment/Vector.h"

#include <set>
#include <utility>

namespace zelvane {

class AttributeLink;
class Drawing;
class Element;
class ElementLinkList;
class Specification;

class EditManager {
public:
    // Reservation is used only when asked for and the project is shared with its server online.
    // The drawing active now is recorded.
    EditManager(bool teamWork, bool unlockElements);
    // Copies the remembered layers and unlocked elements; the copy has no reservations to release.
    EditManager(const EditManager& other);
    EditManager& operator=(const EditManager& other);
    virtual ~EditManager();

    // Makes the element editable: its layer unlocked and shown, the element reserved for the
    // current member and unlocked, each remembered when asked so that it can be put back. False
    // when the element cannot be made editable (no project, a hotlinked element, no attribute
    // set, a layer that could not be stored, a refused reservation); a failed unlock of the
    // element itself still answers true.
    bool enableEdit(Element& element, bool rememberLayers = true, bool rememberUnlocked = true,
                    bool rememberReserved = true);

    // Whether layers change only through this manager while it is used, as during one command
    // that changes no layer itself: a layer once found or made unlocked and shown is then not read
    // again for each element on it, until restoreLayers.
    void setLayersSteady(bool steady);

    // Locks and hides the remembered layers again.
    void restoreLayers();
    // Locks the remembered elements again, each through its own drawing.
    void restoreElements();
    // Releases the reservations made.
    void releaseElements();
    // Makes the recorded drawing the active window and drawing again.
    void restoreDrawing();
    // All of the above, the drawing only when asked.
    void restoreAll(bool restoreDrawing);

    Drawing* getDrawing() const { return m_drawing; }
    bool isTeamWork() const { return m_teamWork; }
    bool isUnlockElements() const { return m_unlockElements; }

private:
    using LayerList = Vector<AttributeLink>;

    // Unlocks and shows the element's layer; false when a change could not be stored.
    bool enableLayer(const Element& element, Specification& specification, bool remember);
    using LayerKey = std::pair<const Specification*, short>;
    LayerKey layerKeyOf(const Element& element) const;
    void clear();

    LayerList* m_lockedLayers = nullptr;
    LayerList* m_hiddenLayers = nullptr;
    ElementLinkList* m_unlockedElements = nullptr;
    ElementLinkList* m_reservedElements = nullptr;
    Drawing* m_drawing = nullptr; // not owned
    bool m_teamWork = false;
    bool m_unlockElements = false;
    bool m_layersSteady = false;
    std::set<LayerKey> m_openLayers; // known unlocked and shown while the layers are steady
};

} // namespace zelvane
