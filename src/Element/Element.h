// The root of every wrapper around one placed host element: its link, its pending
// transformations, the add-on's own data block attached to it (the element user data) and its
// listing strings. Each element kind supplies its host record, memo and header.
#pragma once

#include "ACAPI/Elements.hpp"
#include "Database/ElementLink.h"
#include "Environment/List.h"
#include "Environment/Platform.h"
#include "Environment/String.h"
#include "Geometry/Transformation.h"

struct API_ElementMemo;

namespace zelvane {

class Drawing;
class MemoryBlock;
class MemoStore;

class Element {
public:
    // The host's user-data flag bits, passed through unchanged; 12 is the default set.
    using UserDataFlags = UInt32;
    static constexpr UserDataFlags defaultUserDataFlags = 12;
    using TransformList = List<Transformation>;

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
    virtual void setListingID(const String& id) { m_elementID = id; }
    String getMasterID() const;

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

    virtual std::size_t getTransformCount() const {
        return m_transforms == nullptr ? 0 : m_transforms->size();
    }
    // Adopts the transformation.
    virtual void pushTransform(Transformation* transform);
    // The last transformation, handed to the caller, or null.
    virtual Transformation* popTransform();
    virtual void clearTransform();

    // A new host record filled from the wrapper (the caller deletes it).
    virtual API_Element* getData() const = 0;
    // A new host memo packed from the element's memo parts, or null; mask gets the parts filled.
    virtual API_ElementMemo* getMemo(unsigned long long& mask) const = 0;
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
    bool isGrouped() const;
    Int32 getRenovationStatus() const { return getHead().renovationStatus; }
    void setRenovationStatus(Int32 status) { getHead().renovationStatus = status; }
    // The storey index of the element's drawing link (storey-bearing drawings only), into the
    // link and the header.
    void setStoreyIndex(short index);

protected:
    ElementLink& link() { return m_link; }

private:
    ElementLink m_link;
    TransformList* m_transforms = nullptr;
    mutable MemoryBlock* m_userData = nullptr;
    UserDataFlags m_userDataFlags = defaultUserDataFlags;
    int m_userDataVersion = 1;
    Platform::Host m_userDataHost;
    mutable bool m_isLoaded = false;
    mutable bool m_isTouched = false;
    mutable String m_elementID;
    mutable String m_masterID;
};

} // namespace zelvane
