// The host's open project, as the framework sees it: its library, floor plan and 3D model, the
// lists of its other drawing databases, its active drawing and window, its team, its preference
// packages and its project-level services. What it reads from the host is cached until the next
// outermost host entry (resetDatabases).
#pragma once

#include "Attribute/AttributeID.h"
#include "Database/DatabaseList.h"
#include "Database/Detail.h"
#include "Database/Document3D.h"
#include "Database/Elevation.h"
#include "Database/InteriorElevation.h"
#include "Database/Layout.h"
#include "Database/Navigator.h"
#include "Database/Section.h"
#include "Database/User.h"
#include "Database/Worksheet.h"
#include "Environment/Platform.h"
#include "Environment/Vector.h"
#include "XML/PackageStore.h"

#include <cstddef>
#include <memory>

namespace zelvane {

class City;
class DataFile;
class ElementLinkList;
class LayerCombination;
class LayerMap;
class Library;
class MemoryBlock;
class Model;
class Plan;
class Specification;

using DetailList = DatabaseList<Detail>;
using Document3DList = DatabaseList<Document3D>;
using ElevationList = DatabaseList<Elevation>;
using InteriorElevationList = DatabaseList<InteriorElevation>;
using LayoutList = DatabaseList<Layout>;
using SectionList = DatabaseList<Section>;
using WorksheetList = DatabaseList<Worksheet>;

class Project {
public:
    using UserList = Vector<User>;

    // The host's legacy preference record: eighteen 32-bit words.
    class Preferences {
    public:
        Preferences();
        Preferences(const Preferences& other);
        Preferences& operator=(const Preferences& other);
        ~Preferences();

        // Read from the host; false (and a zeroed record) when it refuses.
        bool read();
        Int32 getConnectionPriority() const { return m_record[1]; }
        const Int32* getRecord() const { return m_record; }

    private:
        Int32* m_record;
    };

    Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;
    virtual ~Project();

    // Drops what was read from the host, so that it is read afresh on next use.
    void resetDatabases();

    Library* getLibrary() const { return m_library; }
    // The project's attribute set (the project keeps it).
    Specification* getSpecification() const { return m_specification; }
    Plan* getFloorPlan() const { return m_plan; }
    Model* getModel() const { return m_model; }

    // Databases of each kind: their number, the one at a position in ID order, or the one of an ID
    // (null when none). Layouts and master layouts share one list.
    std::size_t getDetailCount();
    std::size_t getDocument3DCount();
    std::size_t getElevationCount();
    std::size_t getInteriorElevationCount();
    std::size_t getLayoutCount();
    std::size_t getSectionCount();
    std::size_t getWorksheetCount();
    Detail* getDetail(int position);
    Document3D* getDocument3D(int position);
    Elevation* getElevation(int position);
    InteriorElevation* getInteriorElevation(int position);
    Layout* getLayout(int position);
    Section* getSection(int position);
    Worksheet* getWorksheet(int position);
    Detail* getDetail(const DatabaseGuid& id);
    Document3D* getDocument3D(const DatabaseGuid& id);
    Elevation* getElevation(const DatabaseGuid& id);
    InteriorElevation* getInteriorElevation(const DatabaseGuid& id);
    Layout* getLayout(const DatabaseGuid& id);
    Section* getSection(const DatabaseGuid& id);
    Worksheet* getWorksheet(const DatabaseGuid& id);

    // A new layout (the project keeps it), or null; refused once a transaction was started in
    // this host entry.
    Layout* createLayout(const String& name, const DrawingLink& master, const String& customNumber);
    bool deleteLayout(const DatabaseGuid& id);
    // Drops the layout list, so that it is read afresh on next use.
    void rebuildLayouts();
    Worksheet* createWorksheet(const String& name, const String& reference);

    // The drawing of the host's current database, and of its front window; cached until the next
    // entry. Null when the host cannot tell.
    Drawing* getActiveDrawing();
    Drawing* getActiveWindow();
    bool setActiveDrawing(const Drawing* drawing);
    bool setActiveWindow(const Drawing* drawing);
    void resetActiveDrawing();
    // The drawing a drawing link names, or null.
    Drawing* operator[](const DrawingLink& link);
    Navigator* getNavigator();

    // True when the project is a team-work project connected to its server.
    bool isShared() const;
    bool isServerOnline() const;
    // The number of team-work members (none unless the project is shared); read on first use.
    std::size_t getTeamSize();
    // The member at an index (the project keeps it), or null past the end.
    const User* getTeamMember(std::size_t index);
    // Reserves or releases the listed elements for the current member; an empty list needs no host.
    bool reserveElements(const ElementLinkList& list);
    bool releaseElements(const ElementLinkList& list);

    // Reserves or releases, for the current member, the lockable set of an attribute kind (only
    // layers have one); false without rights or when its status does not allow it.
    bool reserveAttribute(const attribute_id& kind);
    bool releaseAttribute(const attribute_id& kind);

    // The host's current layer combination (a new one, the caller deletes it), or null.
    LayerCombination* getActiveLayerCombo();
    // A copy of the current combination's layer map, or a map that shows every layer.
    LayerMap* getActiveLayerMap();

    // Whether elements of the tool's kind can be placed on its default layer. Unless silent, an
    // unusable layer is explained in an alert offering the tool's settings or, for a locked or
    // hidden layer, to unlock and show it.
    bool confirmToolStatus(const ElementLink& tool, bool silent);

    // The add-on user data of the tool defaults of the link's kind, as a new block, or null.
    MemoryBlock* getToolUserData(const ElementLink& tool, unsigned int* flags, int* version,
                                 Platform::Host* platform);
    bool setToolUserData(const ElementLink& tool, const MemoryBlock* block, int keepEmpty, unsigned int flags,
                         int version, Platform::Host platform);

    // Metric when the working length unit is metric (or cannot be read).
    bool isMetric() const;
    // The north direction in radians; pi/2 when the host has no place.
    double getNorthAngle() const;
    bool setNorthAngle(double angle);
    String getProjectName() const;
    String getCityName() const;
    String getPostCode() const;
    String getArchitectName() const;
    // The project's city (a new one, the caller deletes it): the attribute set's city at the
    // project's place, or one named after the notes' city; null without place or attribute set.
    City* getCity() const;
    // The project file, as a new data file, or null for an untitled project.
    DataFile* getFile() const;
    // The host's legacy preferences (the project keeps them), read on first use.
    Preferences* getHostPreferences();

    // The project's preference package of that code (the project keeps it), or null.
    Package* getPreference(unsigned int code) const;
    // Stores a copy of the package, or adopts it, replacing one of the same code; with publish the
    // package's update event follows.
    void setPreference(const Package& package, bool publish);
    void setPreference(Package* package, bool publish);
    // Puts the packages back to their defaults, except those that may be left alone.
    void initialisePreferences();

private:
    template <typename T>
    DatabaseList<T>* loadList(DatabaseList<T>*& list, GSType code);
    LayoutList* loadLayouts();
    Drawing* drawingOf(API_WindowTypeID type, const DatabaseGuid& id);
    String noteText(std::size_t field) const;
    API_Guid lockableSetOf(const attribute_id& kind) const;

    Library* m_library;
    Model* m_model;
    Plan* m_plan;
    UserList* m_users = nullptr;
    DetailList* m_details = nullptr;
    Document3DList* m_documents3D = nullptr;
    ElevationList* m_elevations = nullptr;
    InteriorElevationList* m_interiorElevations = nullptr;
    LayoutList* m_layouts = nullptr;
    Navigator* m_navigator = nullptr;
    SectionList* m_sections = nullptr;
    WorksheetList* m_worksheets = nullptr;
    Drawing* m_activeDrawing = nullptr; // not owned
    Drawing* m_activeWindow = nullptr;  // not owned
    PackageStore* m_preferences;
    Preferences* m_hostPreferences = nullptr;
    Specification* m_specification;
};

} // namespace zelvane
