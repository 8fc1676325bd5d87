// One drawing database of the project seen as a container of elements: it lists the elements
// that pass a filter, loads them as element objects through the module-wide factory registry,
// puts changed ones back, and carries the element services of the host (selection, user data,
// memos, deletion, tool commands, links, highlights, zoom and scale). Every operation first makes
// its database the host's current one and fails when that fails.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/Toolbox.hpp"
#include "Database/DrawingLink.h"
#include "Database/ElementLinkList.h"
#include "Element/Element.h"
#include "Element/ElementID.h"
#include "Environment/IteratorBase.h"
#include "Environment/Platform.h"
#include "Environment/String.h"

#include <cstddef>
#include <memory>

struct API_DatabaseInfo;

namespace zelvane {

class BaseElemSelection;
class CadColour;
class Cube;
class Layer;
class Library;
class MemoStore;
class MemoryBlock;
class Project;
class Specification;
class Storey;
class Transformation;

class Drawing {
public:
    // Every memo part an element may have.
    static constexpr unsigned long long allMemoParts = 0x7FFFFFBFFFFFFFULL;

    // Makes the element object for a host record, or answers null when it does not take it.
    using Factory = Element* (*)(const API_Element& record, const ElementLink& link);

    // Which elements a walk or list takes: host filter flags (0x400 asks for a renovation filter,
    // the active one when the filter's is null), a kind (type 0: every kind), selected elements
    // only, elements with user data only, and whether elements seen through proxies in cut views
    // are resolved to the model elements. Subclasses add a test on the loaded element, and may
    // add one on the element's link that lists and loads make before loading anything.
    class Filter {
    public:
        Filter(unsigned int flags, const element_id& kind, bool selectedOnly, bool unused = false,
               bool userDataOnly = false);
        Filter(const element_id& kind, bool selectedOnly, bool unused = false, bool userDataOnly = false);
        explicit Filter(bool selectedOnly = false, bool unused = false);
        virtual ~Filter() = default;

        virtual Filter* clone() const { return new Filter(*this); }
        virtual bool isAccepted(const Element& element) const;
        // The test on the link of the element (a proxy's resolved to the model element), made
        // only when hasLinkTest answers true.
        virtual bool hasLinkTest() const { return false; }
        virtual bool isLinkAccepted(const ElementLink&) const { return true; }

        unsigned int getFlags() const { return m_flags; }
        const element_id& getKind() const { return m_kind; }
        const Guid& getPhaseFilter() const { return m_phase; }
        bool isSelectedOnly() const { return m_selectedOnly != 0; }
        bool isUserDataOnly() const { return m_userDataOnly != 0; }
        bool isResolvingProxies() const { return m_resolveProxies != 0; }
        void setFlags(unsigned int flags) { m_flags = flags; }
        void setKind(const element_id& kind) { m_kind = kind; }
        void setPhaseFilter(const Guid& phase) { m_phase = phase; }
        void setSelectedOnly(bool only) { m_selectedOnly = only; }
        void setUserDataOnly(bool only) { m_userDataOnly = only; }
        void setResolvingProxies(bool resolve) { m_resolveProxies = resolve; }

        // The type test: a filter of type 0 takes every kind; otherwise the types must be equal
        // and the subtypes equal or either 0.
        bool isKindAccepted(const element_id& kind) const;

    private:
        [[maybe_unused]] UInt32 m_word = 0;
        unsigned int m_flags;
        element_id m_kind;
        Guid m_phase;
        [[maybe_unused]] UInt8 m_unused;
        UInt8 m_selectedOnly;
        UInt8 m_userDataOnly;
        UInt8 m_resolveProxies = 1;
    };

    // A walk loads each element through the factory registered for its kind (addAdapter) and
    // skips, without a word, the elements of a kind that has none: the framework registers
    // markers, proxies and objects at start-up, and an add-on registers the other kinds it walks
    // (walls, doors, ...). getCount and getLinksMatching load nothing, and so count those too.
    using iterator = Iterator<Drawing, Element, ElementLink, Filter, ElementLinkList>;
    using reverse_iterator = ReverseIterator<Drawing, Element, ElementLink, Filter, ElementLinkList>;

    // When set, loads copy a selected element's selection values into its link.
    static bool m_isSelectionInfo;

    explicit Drawing(Project* project = nullptr, const DatabaseGuid& id = DatabaseGuid());
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    virtual ~Drawing();

    // Drops the cached selection.
    virtual void reset();
    virtual String getDescription() const = 0;
    // The element of the link, from whichever database holds it (the caller deletes it), or null.
    virtual Element* operator[](const ElementLink& link);
    virtual DrawingLink getLink() const { return DrawingLink(getType(), getID()); }
    virtual String getName() const;
    virtual String getReference() const;
    virtual String getTitle() const;
    // The host window type of the database, and the type of its navigator item.
    virtual API_WindowTypeID getType() const = 0;
    virtual Int32 getNavigationType() const = 0;
    virtual const DatabaseGuid& getID() const { return m_id; }
    virtual bool setReference(const String& reference);
    bool setName(const String& name);

    Project* getProject() const { return m_project; }
    Library* getLibrary() const;
    // The project's attribute set, or null without a project.
    Specification* getSpec() const;
    GSErrCode getLastError() const { return m_lastError; }
    bool isMarquee() const { return m_isMarquee != 0; }
    bool isHighlighted() const { return m_isHighlighted != 0; }

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

    // Walks the elements passing the filter, each loaded in turn; with autoWrite each element the
    // iterator leaves is put back.
    iterator begin(bool autoWrite, const Filter& filter);
    reverse_iterator rbegin(bool autoWrite, const Filter& filter);
    iterator end() const { return iterator(); }
    // Appends the links of the elements passing the filter (list may be null to count only);
    // answers how many passed.
    std::size_t getLinksMatching(const Filter& filter, ElementLinkList* list);
    // Appends the links of the elements passing the filter for loading them: as getLinksMatching,
    // but the links of the whole drawing's elements of one kind name each element by GUID, kind and
    // drawing only, without the host being asked for each one's header (a load reads it). Answers
    // how many were appended.
    std::size_t getLinksToLoad(const Filter& filter, ElementLinkList& list);
    std::size_t getCount(const Filter& filter, bool unused = false);
    // The element after the link in a walk without a list; none in a plain drawing.
    virtual Element* seekNext(const ElementLink& link, bool forward, const Filter& filter);
    // A copy of the link with the filter's kind when the filter names one.
    virtual ElementLink initSeekLink(const ElementLink& link, const Filter& filter) const;

    // The element of the link when it passes the filter (the caller deletes it), or null.
    Element* load(const ElementLink& link, const Filter* filter = nullptr);
    // Writes the element back: changed when it came from this database (and forceNew is not set),
    // created otherwise, then its user data when touched. The element stays on its own storey; a
    // new one (its link names no drawing) is created on the current storey.
    bool put(Element& element, bool forceNew = false, bool withMemo = true);
    // Gives the element the settings of `from` (itself when null) for the members `mask` marks
    // (all when null), then applies its pending transformations. The storey stays the element's.
    bool putSetting(Element& element, Element* from = nullptr, Element* mask = nullptr);
    // Applies and deletes the element's pending transformations, stopping at the first failure.
    bool transform(Element& element);
    bool transform(Element& element, const Transformation& transformation);
    // The link follows the element, whose GUID an edit may renew.
    bool transform(ElementLink& link, const Transformation& transformation);
    bool erase(const ElementLink& link);
    bool erase(const ElementLinkList& list);
    bool erase(BaseElemSelection& selection);
    bool runParameterScript(const ElementLink& link);
    // Rebuilds the link from the element's header in this drawing, copied out when asked.
    bool reloadHeader(ElementLink& link, API_Elem_Head* head = nullptr);
    // The link of the element of that GUID in this drawing (a default link when it cannot be read)
    // and, when asked, its layer and (in the floor plan and the 3D model) its storey.
    bool getElementSummary(const Guid& guid, ElementLink* link, Layer* layer = nullptr,
                           Storey** storey = nullptr);
    // Moves the element (of this drawing) to the layer, storey and group given (null: kept), in
    // the host and in the element.
    bool reassign(Element& element, const Layer* layer, const Storey* storey, const Guid* group);
    // Points the link at the element it stands for: a link of a proxy element (type 29) seen in
    // this drawing becomes, with resolve, the link of the model element seen through it, and
    // without, a proxy link naming its parent; any other link is taken to be in the active
    // drawing. False when the proxy cannot be read.
    bool sourceActualElement(bool resolve, ElementLink& link);
    // A new memo record (free it with ElementMemoStore::disposeRecord) or null; mask 0 is all parts.
    API_ElementMemo* getMemo(const ElementLink& link, unsigned long long mask);
    // The same parts read into memo (zero-filled); false when they cannot be read. The caller
    // disposes memo's handles either way.
    bool readMemo(const ElementLink& link, unsigned long long mask, API_ElementMemo& memo);

    // The add-on user data of the link's element (of the tool defaults for a link without a GUID),
    // as a new block, or null; the out values that are given are filled.
    MemoryBlock* getUserData(const ElementLink& link, Element::UserDataFlags* flags, int* version,
                             Platform::Host* platform);
    // Writes the block (an empty one deletes the data unless keepEmpty).
    bool putUserData(const ElementLink& link, const MemoryBlock* block, int keepEmpty,
                     Element::UserDataFlags flags, int version, Platform::Host platform);
    // Writes the element's block when touched, then clears the mark.
    bool putUserData(Element& element);
    // Writes a header's user data to the host, or deletes it when there is no block (or an empty
    // one, unless keepEmpty); the host's answer.
    static GSErrCode writeUserData(API_Elem_Head head, const MemoryBlock* block, int keepEmpty,
                                   Element::UserDataFlags flags, int version, Platform::Host platform);

    // The user's selection in this drawing, read once (null when there is none).
    ElementLinkList* getSelection();
    bool checkSelection();
    // The last selected element of the kind (any kind for type 0), or null.
    Element* getLastSelected(const element_id& kind);
    bool setSelection(ElementLinkList& list);
    bool setSelection(const BaseElemSelection& selection);
    bool deselectAll();
    void selectAll() {}
    bool addToSelection(const ElementLink& link);
    bool addToSelection(ElementLinkList& list);
    bool addToSelection(const BaseElemSelection& selection);
    bool removeFromSelection(const ElementLink& link);
    bool removeFromSelection(ElementLinkList& list);
    bool removeFromSelection(const BaseElemSelection& selection);

    bool applyTool(API_ToolCmdID command, const ElementLinkList& list);
    bool applyTool(API_ToolCmdID command, BaseElemSelection& selection);
    bool group(const ElementLinkList& list);
    bool ungroup(const ElementLinkList& list);
    bool moveForward(const ElementLinkList& list);
    bool moveToFront(const ElementLinkList& list);
    bool moveBackward(const ElementLinkList& list);
    bool moveToBack(const ElementLinkList& list);
    bool lock(const ElementLinkList& list);
    bool unlock(const ElementLinkList& list);
    bool addLinkTo(const ElementLink& from, const ElementLink& to);
    bool addLinksTo(const ElementLink& from, const ElementLinkList& list);
    std::size_t getLinksFrom(const ElementLink& link, ElementLinkList& list);
    bool setObserved(const ElementLink& link, bool observed);
    bool show(const ElementLinkList& list);
    bool hide(const ElementLinkList&) { return false; }
    bool highlight(const ElementLinkList& list, const CadColour& colour, bool clearFirst);
    GSErrCode clearHighlights();
    GSErrCode setZoom(const Cube& box);
    GSErrCode zoomToFit();
    GSErrCode setZoomToSelected();
    // A new box of the visible region (or of the elements' extent), or null.
    Cube* getZoom(bool extent);
    double getScale();
    GSErrCode setScale(double scale, bool unused = false);
    // Model units per screen pixel; 0.0 when the host cannot tell.
    double getPixelSize();
    GSErrCode redraw();
    GSErrCode refresh();
    GSErrCode rebuild(bool regenerate);

protected:
    // Makes this the host's current database; false (with the last error set) when that fails.
    bool activate() const;
    void setLastError(GSErrCode err) const { m_lastError = err; }
    // The host's record of this database (name, title, reference, master layout), read into info
    // and written back from it; each sets the last error.
    GSErrCode readDatabaseInfo(API_DatabaseInfo& info) const;
    GSErrCode writeDatabaseInfo(API_DatabaseInfo& info) const;
    // Whether elements shown here through proxies are resolved when listing and selecting.
    virtual bool isProxyView() const { return false; }
    // What views that show model elements through proxies share: a link becomes a proxy link
    // (false when it already is one), and a walk from a link seen through this view starts at the
    // proxy.
    static bool makeProxyType(ElementLink& link);
    ElementLink proxySeekLink(const ElementLink& link, const Filter& filter) const;

private:
    bool isFlagsAccepted(const Guid& guid, const Filter& filter) const;
    Guid phaseFilterOf(const Filter& filter) const;
    // The GUIDs of the drawing's elements of the type (0: all) passing the filter's flags and phase;
    // false, the error kept, when the host gives none.
    bool listElements(API_ElemTypeID type, const Filter& filter, GS::Array<API_Guid>& guids);
    Element* finishLoad(Element* element) const;
    bool selectList(ElementLinkList& list, bool add, bool clearFirst);
    // The cached selection's link equal to this one, or null; by GUID through an index, so that
    // walking a large selection stays linear.
    const ElementLink* findSelected(const ElementLink& link);
    void dropSelection();
    bool transformOne(Element& element, const Transformation& transformation);

    Project* m_project; // not owned
    DatabaseGuid m_id;
    ElementLink m_cursor;
    ElementLinkList* m_selection = nullptr;
    struct SelectionIndex;
    std::unique_ptr<SelectionIndex> m_selectionIndex; // made on first look-up
    mutable GSErrCode m_lastError = NoError;
    UInt8 m_isMarquee = 0;
    UInt8 m_isHighlighted = 0;
};

} // namespace zelvane
