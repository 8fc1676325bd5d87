// A building material of the project: its cut fill with the fill's pens, its surface material
// and its physical properties.
#pragma once

#include "Attribute/Fill.h"
#include "Attribute/Finish.h"
#include "Attribute/Pen.h"
#include "Attribute/RecordAttribute.h"

namespace zelvane {

class Material : public RecordAttribute<Material, API_BuildingMaterialType, 17> {
public:
    using RecordAttribute::RecordAttribute;

    // Wrappers of the attributes of the front attribute set the material names.
    Fill getCutFill() const { return Fill(attribute_index(data().cutFill)); }
    Pen getCutFillPen() const { return Pen(attribute_index(data().cutFillPen)); }
    Pen getCutBackgroundPen() const { return Pen(attribute_index(data().cutFillBackgroundPen)); }
    Finish getSurface() const { return Finish(attribute_index(data().cutMaterial)); }
    void setCutFill(const Fill& fill) { data().cutFill = fill.getIndex(); }
    void setCutFillPen(const Pen& pen) { data().cutFillPen = pen.getIndex(); }
    void setCutBackgroundPen(const Pen& pen) { data().cutFillBackgroundPen = pen.getIndex(); }
    void setSurface(const Finish& finish) { data().cutMaterial = finish.getIndex(); }

    double getThermalConductivity() const { return data().thermalConductivity; }
    double getDensity() const { return data().density; }
    double getHeatCapacity() const { return data().heatCapacity; }
    void setThermalConductivity(double value) { data().thermalConductivity = value; }
    void setDensity(double value) { data().density = value; }
    void setHeatCapacity(double value) { data().heatCapacity = value; }
};

} // namespace zelvane
