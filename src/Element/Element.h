// The root of every wrapper around one placed host element: its link, its pending
// transformations, the add-on's own data block attached to it (the element user data) and its
// listing strings. Each element kind supplies its host record, memo and header.
#pragma once

#include "ACAPI/Elements.hpp"
#include "Attribute/ComplexProfile.h"
#include "Attribute/Finish.h"
#include "Attribute/LineStyle.h"
#include "Attribute/Material.h"
#include "Attribute/Pen.h"
#include "Attribute/Phase.h"
#include "Attribute/TextStyle.h"
#include "Database/ElementLink.h"
#include "Database/StoreyLink.h"
#include "Environment/List.h"
#include "Environment/Platform.h"
#include "Environment/String.h"
#include "Geometry/CadPoint.h"
#include "Geometry/Transformation.h"

#include <memory>

struct API_ElementMemo;

namespace zelvane {

class ArrowStyle;
class CadPolygon;
class Cube;
class Drawing;
class Element3D;
class ElementLinkList;
class Group;
class Layer;
class Storey;
class MemoryBlock;
class MemoStore;
class Pattern;
class PrimitiveList;

class Element {
public:
    // The host's user-data flag bits, passed through unchanged; 12 is the default set.
    using UserDataFlags = UInt32;
    static constexpr UserDataFlags defaultUserDataFlags = 12;
    using TransformList = List<Transformation>;
    // The host's solid-element operation, passed through unchanged.
    using Operation = Int32;
    enum StructureType { basic = 0, composite = 1, profiled = 2 };
    // A part of an element; 0 is its main part.
    using Part = int;

    // While true (the default), elements load with their host record only: memo parts and user
    // data are fetched on first use. Code that clears it restores it.
    static bool m_isMinData;

    explicit Element(const ElementLink& link);
    Element(const Element& other);
    Element& operator=(const Element& other);
    virtual ~Element();

    virtual Element* clone() const = 0;

    // A valid link with a GUID.
    virtual bool exists() const;
    virtual const Guid& getUniqueID() const { return m_link.getUniqueID(); }
    virtual element_id getType() const { return m_link.getType(); }
    virtual API_ElemVariationID getClass() const { return m_link.getVariation(); }
    virtual const ElementLink& getLink() const { return m_link; }
    // The drawing the element lives in, or null.
    virtual Drawing* getSource() const;
    // The element this one belongs to; none here.
    virtual ElementLink getParentLink() const { return ElementLink(); }
    virtual Int32 getDisplayOption() const { return 0; }
    // Whether the element's storey is the given one (the tolerance is for kinds that span storeys).
    virtual bool isWithinStorey(const Storey& storey, double tolerance) const;

    // The storeys a part of the element (0: the main part) shows on; none in the base.
    virtual StoreyLink getStoreyLink(int = 0) const { return StoreyLink(0, 0, false, false); }
    virtual void setStoreyLink(const StoreyLink&, int = 0) {}
    virtual bool isHomeStoreyOnly() const { return true; }

    // Takes every member of the link but the element's own kind, then completes the host header
    // from it.
    virtual void setLink(const ElementLink& link, unsigned int unused = 0);
    // Forgets the element's identity (GUID, proxy, source), so that a put creates it anew with its
    // user data.
    virtual void clearLink();
    virtual void setClass(API_ElemVariationID variation) { m_link.setVariation(variation); }

    // The element's own listing ID, or with master the master prefix followed by it. Read from the
    // host on first use.
    virtual String getListingID(bool master) const;
    virtual void setListingID(const String& id) {
        m_elementID = id;
        m_listingRead = false;
    }
    String getMasterID() const;
    // Whether the listing ID is held (set, or read for the element's GUID); if not, getListingID
    // asks the host for it.
    bool isListingIDHeld() const;

    // A copy of the held user-data block (read through the element's drawing first unless
    // loaded), or null.
    virtual MemoryBlock* getUserData() const;
    virtual UserDataFlags getUserDataFlags() const { return m_userDataFlags; }
    virtual int getUserDataVersion() const { return m_userDataVersion; }
    virtual Platform::Host getUserDataHost() const { return m_userDataHost; }
    virtual bool isUserDataTouched() const { return m_isTouched; }
    virtual bool isUserDataLoaded() const { return m_isLoaded; }
    // Adopts the block (null allowed); the next put writes it.
    virtual void setUserData(MemoryBlock* block);
    virtual void setUserDataFlags(UserDataFlags flags) { m_userDataFlags = flags; }
    virtual void setUserDataVersion(int version) { m_userDataVersion = version; }
    virtual void setUserDataHost(Platform::Host host) { m_userDataHost = host; }
    virtual void setUserDataTouched(bool touched) { m_isTouched = touched; }
    // Reads the block through the element's drawing unless already loaded (or forced); the
    // element keeps its own flags, version and platform.
    virtual void loadUserData(bool force) const;
    // A copy of the held block, or else the host's record read directly (with its version and
    // byte order, 1 for the host's own sign and 2 for any other); null when the host has none.
    virtual MemoryBlock* getOwnerData(int* version, Platform::Endianness* order) const;
    // Writes the block straight to the host (version 1, this platform, the flags), dropping a held
    // block; false for an empty block or a host refusal.
    virtual bool setOwnerData(const MemoryBlock& block, int unused, bool observe, UserDataFlags flags);
    // Attaches or detaches the host's observer of the element.
    virtual bool setObserved(bool observed);

    // Quantities; the base knows none but what its shape gives.
    virtual double getSurfaceA() const { return 0.0; }
    virtual double getSurfaceB() const { return 0.0; }
    virtual double getSurfaceC() const { return 0.0; }
    // The area of every face of the 3D model, each measured in its own plane.
    virtual double getTotalSurfaceArea() const;
    virtual double getVolume() const { return 0.0; }
    virtual double getGrossVolume() const { return getVolume(); }
    virtual double getMinHeight() const { return getHeight(); }
    virtual double getMaxHeight() const { return getHeight(); }
    virtual int getHolesCount() const { return 0; }
    virtual double getHolesSurface() const { return 0.0; }
    virtual double getHolesVolume() const { return 0.0; }
    virtual double getHolesPerimeter() const { return 0.0; }

    // Attributes by use; a use the element does not know gives index 0 (or null), and setting it
    // does nothing.
    virtual Pen getPen(Pen::Use use) const;
    virtual LineStyle getLineStyle(LineStyle::Use use) const;
    virtual Finish getFinish(Finish::Use use) const;
    // A new pattern, or null.
    virtual Pattern* getPattern(UInt8 use) const;
    virtual TextStyle* getTextStyle() const { return nullptr; }
    virtual ArrowStyle* getArrowStyle() const { return nullptr; }
    virtual ComplexProfile getComplexProfile() const { return ComplexProfile(); }
    virtual Material getMaterial() const { return Material(); }
    // The volume (or area) of the building material in the element: the whole element for a
    // basic structure of that material, the matching skins of a composite.
    virtual double getMaterialVolume(attribute_index material) const;
    virtual double getMaterialArea(attribute_index material) const;
    virtual StructureType getStructureType() const { return basic; }
    virtual void setPen(const Pen&, Pen::Use) {}
    virtual void setPattern(const Pattern&, UInt8) {}
    virtual void setLineStyle(const LineStyle&, LineStyle::Use) {}
    virtual void setFinish(const Finish&, Finish::Use) {}
    virtual void setTextStyle(const TextStyle&, unsigned int, unsigned int, TextStyle::Use) {}
    virtual void setArrowStyle(const ArrowStyle&) {}
    virtual void setComplexProfile(const ComplexProfile&) {}
    virtual void setMaterial(const Material&) {}
    virtual void setStructureType(StructureType) {}

    // Shape.
    virtual CadPoint getOrigin() const { return CadPoint(0.0, 0.0, 0.0); }
    virtual double getBaseLevel(bool absolute) const;
    virtual double getHeight() const;
    virtual double getWidth() const;
    virtual double getDepth() const;
    virtual double getLength() const { return getWidth(); }
    virtual double getPerimeter() const;
    virtual double getArea() const;
    // A new box of the element (from the host's bounds when fresh, which lie flat at the base
    // level), or null.
    virtual Cube* getBoundingCube(bool fresh) const;
    // The box Element::getBoundingCube gives, written into box with no new one made; false when
    // it gives none (box then unchanged).
    bool measureBoundingCube(Cube& box, bool fresh) const;
    // A new plan outline, or null.
    virtual CadPolygon* getBoundingPolygon() const { return nullptr; }
    virtual void setOrigin(const CadPoint&) {}
    virtual void setBaseLevel(double, bool) {}
    // The element's 2D drawing as primitives; false when it cannot be extracted.
    virtual bool getPrimitives2D(PrimitiveList& list, bool withHidden) const;
    // The element's 3D model, read once with its drawing active and then shared with copies;
    // empty when there is none.
    virtual std::shared_ptr<Element3D> getPrimitives3D() const;
    // A new 3D model read from the host, or null when the link is invalid or the model is empty.
    virtual Element3D* getElement3D() const;
    // Drops the cached 3D model (copies share it until then).
    virtual void clear3D() const { m_model.reset(); }

    virtual std::size_t getTransformCount() const {
        return m_transforms == nullptr ? 0 : m_transforms->size();
    }
    // Adopts the transformation.
    virtual void pushTransform(Transformation* transform);
    // The last transformation, handed to the caller, or null.
    virtual Transformation* popTransform();
    virtual void clearTransform();

    // Takes into this element what differs between edited and reference: the storey, then the
    // header's layer, renovation status and the GUID after it.
    virtual void applyDelta(const Element& edited, const Element& reference);
    // The host's tool settings dialog for the element's kind; true when accepted.
    virtual bool userEdit();
    // Trims this element with every element trimming source, in the same way.
    virtual bool copyTrim(const Element& source) const;
    // Gives this element the solid operations source has (replacing its own when asked); false
    // when the operators cannot be read or an operation cannot be made.
    virtual bool copySEO(const ElementLink& source, bool replace) const;
    virtual bool addSEO(const ElementLink& op, Operation operation, unsigned int flags) const;
    // The tool defaults for the element's kind, and its memo when given; false when refused.
    virtual bool getDefaultData(API_Element* element, API_ElementMemo* memo);

    // A new host record filled from the wrapper (the caller deletes it).
    virtual API_Element* getData() const = 0;
    // A new host memo packed from the element's memo parts, or null; mask gets the parts filled.
    virtual API_ElementMemo* getMemo(unsigned long long& mask) const = 0;
    // The record getData makes, written into record, which no new record is made for when the
    // element fills it itself; false when getData gives none.
    virtual bool fillData(API_Element& record) const;
    // The memo getMemo packs, its handles taken into memo (zero-filled), which no new record is
    // made for when the element fills it itself; false when getMemo gives none (memo then holds
    // none). The caller disposes memo's handles.
    virtual bool fillMemo(API_ElementMemo& memo, unsigned long long& mask) const;
    // Loads the memo parts of the mask (taking them from store when given); the base loads the user
    // data unless m_isMinData is set.
    virtual void getMemo(unsigned long long mask, MemoStore*& store) const;
    virtual API_Elem_Head& getHead() = 0;
    virtual const API_Elem_Head& getHead() const = 0;

    short getLayerIndex() const { return getHead().layer; }
    void setLayerIndex(short layer) { getHead().layer = layer; }
    Guid getGroupID() const { return Guid(getHead().groupGuid); }
    void setGroupID(const Guid& group) { getHead().groupGuid = GS::Guid(group); }
    void clearGroup() { getHead().groupGuid.Clear(); }
    bool isLocked() const { return getHead().locked; }
    // Writes the lock flag; in a shared project locks are the team's, so nothing changes there.
    void setLocked(bool locked);
    // The hotlinked module the element belongs to, null when none.
    Guid getHotlinkID() const { return Guid(getHead().hotlinkGuid); }
    void setHotlinkID(const Guid& hotlink) { getHead().hotlinkGuid = GS::Guid(hotlink); }
    // The team-work member holding the element.
    Int16 getOwnerID() const { return getHead().userId; }
    void setOwnerID(Int16 owner) { getHead().userId = owner; }
    // Whether the current user may change the element now: not in a hotlink; in a shared project
    // held by the current member, else not locked; and on a layer neither locked nor hidden.
    bool isEditable() const;
    // The same leaving the layer out, for a caller that knows the layer is neither locked nor
    // hidden.
    bool isEditableOnOpenLayer() const;
    bool isGrouped() const;
    // A new group of the header's (or the given) group GUID.
    Group* getGroup() const;
    Group* getGroup(const Guid& id) const;
    void setGroup(const Group& group);
    // The outermost group holding the element's group (the null GUID when the host refuses).
    Guid getMainGroupID() const;
    Group* getMainGroup() const;
    Layer getLayer() const;
    void setLayer(const Layer& layer);
    // The reference layer of the element's group.
    short getRefGroupLayer() const { return getHead().groupLayer; }
    void setRefGroupLayer(short layer) { getHead().groupLayer = layer; }
    char getDisplayOrder() const { return char(getHead().drwIndex); }
    void setDisplayOrder(char order) { getHead().drwIndex = order; }
    UInt64 getEditID() const { return getHead().modiStamp; }
    void setEditID(UInt64 stamp) { getHead().modiStamp = stamp; }

    // The drawing's links from this element.
    void getLinks(ElementLinkList& list) const;
    // The flags of the host link from this element to the other; 0 when there is none.
    UInt32 getLinkUserData(const ElementLink& to) const;
    bool addLinkTo(const ElementLink& to, unsigned int flags);
    bool removeLinkTo(const ElementLink& to);
    // Appends the elements trimming this one, in the host's order.
    void getTrimmingElements(ElementLinkList& list) const;
    // Makes the element its tool's default, its user data included when loaded.
    bool makeDefault() const;
    // Loads every memo part now, whatever m_isMinData says (and restores it).
    void forceLoad() const;
    Int32 getRenovationStatus() const { return getHead().renovationStatus; }
    Phase getPhase() const { return Phase(attribute_index(short(getHead().renovationStatus))); }
    void setPhase(const Phase& phase) { getHead().renovationStatus = phase.getIndex().getIndex(); }
    void setRenovationStatus(Int32 status) { getHead().renovationStatus = status; }
    // The storey index of the element's drawing link (storey-bearing drawings only), into the
    // link and the header.
    void setStoreyIndex(short index);
    // Puts the element on the storey; with reapply its main part's storey visibility is set again
    // without the show-on-all switches.
    void setStorey(const Storey& storey, bool reapply);
    // The storey of the element's drawing link, or null (the floor plan keeps it).
    Storey* getStorey() const;

protected:
    ElementLink& link() { return m_link; }
    // A new element's record: the tool's defaults for this element's class when the host has
    // them (record is left as it is otherwise), with the given type and memo flag.
    void loadToolDefaults(API_Element& record, API_ElemTypeID type, bool hasMemo) const;

private:
    ElementLink m_link;
    TransformList* m_transforms = nullptr;
    mutable std::shared_ptr<Element3D> m_model;
    mutable MemoryBlock* m_userData = nullptr;
    UserDataFlags m_userDataFlags = defaultUserDataFlags;
    int m_userDataVersion = 1;
    Platform::Host m_userDataHost;
    mutable bool m_isLoaded = false;
    mutable bool m_isTouched = false;
    mutable String m_elementID;
    mutable String m_masterID;
    // The listing strings were read for the element of that GUID: an ID that is empty is not read
    // again for it.
    mutable bool m_listingRead = false;
    mutable Guid m_listingOf;
};

} // namespace zelvane
