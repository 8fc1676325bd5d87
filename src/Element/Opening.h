// A library-part element that cuts a hole into its wall (a door or a window): the members doors and
// windows share, reached through the opening part of the kind's host record, and its IFC data.
#pragma once

#include "Element/ComponentElem.h"
#include "IFC/IFCMemo.h"

namespace zelvane {

class Opening : public ComponentElem, public IFCMemo {
public:
    Opening(const ElementLink& link, const ComponentLink& source) : ComponentElem(link, source) {}

    virtual bool isSourcePens() const { return getOpeningData().useObjPens; }
    virtual bool isSourceLineStyles() const { return getOpeningData().useObjLtypes; }
    virtual void setSourcePens(bool on) { getOpeningData().useObjPens = on; }
    virtual void setSourceLinestyles(bool on) { getOpeningData().useObjLtypes = on; }
    bool isSourceFinishes() const override { return getOpeningData().useObjMaterials; }
    void setSourceFinishes(bool on) override { getOpeningData().useObjMaterials = on; }
    virtual bool isWallGables() const { return getOpeningData().wallCutUsing; }
    virtual void setWallGables(bool on) { getOpeningData().wallCutUsing = on; }
    virtual double getOpenWidth() const { return getOpeningData().width; }
    virtual double getOpenHeight() const { return getOpeningData().height; }
    virtual double getSurfaceReveal() const { return getSurfaceA(); }
    virtual double getWidthReveal() const { return 0.0; }
    virtual double getHeightReveal() const { return 0.0; }
    virtual void setOpenWidth(double width) { getOpeningData().width = width; }
    virtual void setOpenHeight(double height) { getOpeningData().height = height; }
    virtual API_OpeningBaseType& getOpeningData() = 0;
    virtual const API_OpeningBaseType& getOpeningData() const = 0;

    using ComponentElem::applyDelta;

    double getHeight() const override { return getOpenHeight(); }
    // An opening sits where its wall puts it.
    void setOrigin(const CadPoint&) override {}
    void setBaseLevel(double, bool) override {}

    // The contour pen and the section pens, the section fill, the line type and the material.
    Pen getPen(Pen::Use use) const override;
    void setPen(const Pen& pen, Pen::Use use) override;
    Pattern* getPattern(UInt8 use) const override;
    void setPattern(const Pattern& pattern, UInt8 use) override;
    LineStyle getLineStyle(LineStyle::Use use) const override;
    void setLineStyle(const LineStyle& style, LineStyle::Use use) override;
    Finish getFinish(Finish::Use use) const override;
    void setFinish(const Finish& finish, Finish::Use use) override;
};

} // namespace zelvane
