// The project's floor plan and its storeys. It shares its elements with the 3D model.
#pragma once

#include "Database/Drawing.h"
#include "Database/StoreyList.h"

#include <map>
#include <optional>

namespace zelvane {

class Plan : public Drawing {
public:
    using Drawing::Drawing;
    ~Plan() override;

    String getDescription() const override { return "Floor Plan"; }
    API_WindowTypeID getType() const override { return APIWind_FloorPlanID; }
    Int32 getNavigationType() const override { return 2; }
    // Drops the selection and the storeys.
    void reset() override;
    // The floor plan on its current storey.
    DrawingLink getLink() const override;
    // The current storey's floor ID, then "-" and its name when it has one; empty without storey.
    String getName() const override;

    // Reads the storeys unless held; false when the host refuses.
    bool loadStoreys() const;
    std::size_t getStoreyCount() const;
    // The indexes of the lowest and the highest storey; 0 without storeys.
    short getBaseStoreyIndex() const;
    short getTopStoreyIndex() const;
    // The storey of that index, name or floor ID (the plan keeps it), or null.
    Storey* getStorey(short index) const;
    Storey* getStorey(const String& name) const;
    Storey* findStoreyByID(short floorId) const;
    virtual Storey* getCurrentStorey() const;
    // Goes to the storey, rebuilding the view when asked.
    virtual bool setStorey(const Storey& storey, bool rebuild);

private:
    mutable StoreyList* m_storeys = nullptr;
    mutable std::map<short, Int32> m_floorIds; // by storey index
    mutable Int16 m_currentStorey = 0;
    // The current storey as last found (null: none), asked for with every link to the plan.
    mutable std::optional<Storey*> m_current;
};

} // namespace zelvane
