#include "ACAPI/ElementQuantities.hpp"

#include "sim/ElementQuantities.h"
#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/Sim.h"

#include <unordered_map>

namespace {

using sim::GuidHash;

struct Measured {
    API_ElementQuantity element;
    std::vector<API_CompositeQuantity> skins;
};

struct State {
    std::unordered_map<GS::Guid, Measured, GuidHash> quantities;
    API_QuantityPar lastParameters;
    API_QuantitiesMask lastMask;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerProjectClear([] { state().quantities.clear(); });

bool marked(const void* member) {
    return *static_cast<const unsigned char*>(member) != 0;
}

void copyMarked(double& to, double from, const double& mark) {
    if (marked(&mark)) {
        to = from;
    }
}

void copyMarked(API_WallQuantity& to, const API_WallQuantity& from, const API_WallQuantity& mask) {
    static constexpr double API_WallQuantity::*members[] = {
        &API_WallQuantity::surface1,     &API_WallQuantity::surface2,    &API_WallQuantity::surface3,
        &API_WallQuantity::volume,       &API_WallQuantity::grossVolume, &API_WallQuantity::grossSurf1,
        &API_WallQuantity::grossSurf2,   &API_WallQuantity::refLength,   &API_WallQuantity::oppLength,
        &API_WallQuantity::centerLength, &API_WallQuantity::doorsSurf,   &API_WallQuantity::doorsWidth,
        &API_WallQuantity::windowsSurf,  &API_WallQuantity::minHeight,   &API_WallQuantity::maxHeight,
        &API_WallQuantity::holesSurf,    &API_WallQuantity::holesVolume};
    for (double API_WallQuantity::*member : members) {
        copyMarked(to.*member, from.*member, mask.*member);
    }
    if (marked(&mask.columnsNumber)) {
        to.columnsNumber = from.columnsNumber;
    }
}

void copyMarked(API_WindowQuantity& to, const API_WindowQuantity& from, const API_WindowQuantity& mask) {
    static constexpr double API_WindowQuantity::*members[] = {
        &API_WindowQuantity::surface1,    &API_WindowQuantity::surface2,    &API_WindowQuantity::surface,
        &API_WindowQuantity::volume,      &API_WindowQuantity::grossVolume, &API_WindowQuantity::revealWidth,
        &API_WindowQuantity::revealHeight};
    for (double API_WindowQuantity::*member : members) {
        copyMarked(to.*member, from.*member, mask.*member);
    }
}

} // namespace

namespace sim {

void setQuantities(const GS::Guid& guid, const API_ElementQuantity& element,
                   const std::vector<API_CompositeQuantity>& skins) {
    state().quantities[guid] = Measured{element, skins};
}

API_QuantityPar lastQuantityParameters() {
    return state().lastParameters;
}

API_QuantitiesMask lastQuantityMask() {
    return state().lastMask;
}

} // namespace sim

GSErrCode ACAPI_Element_GetQuantities(const API_Guid& guid, const API_QuantityPar* params,
                                      API_Quantities* quantities, const API_QuantitiesMask* mask) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetQuantities"); err != NoError) {
        return err;
    }
    if (params == nullptr || quantities == nullptr || mask == nullptr || quantities->elements == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid)) {
        return APIERR_BADID;
    }
    state().lastParameters = *params;
    state().lastMask = *mask;
    Measured measured;
    auto it = state().quantities.find(guid);
    if (it != state().quantities.end()) {
        measured = it->second;
    }
    API_ElementQuantity& out = *quantities->elements;
    copyMarked(out.volume, measured.element.volume, mask->elements.volume);
    copyMarked(out.surface, measured.element.surface, mask->elements.surface);
    copyMarked(out.area, measured.element.area, mask->elements.area);
    copyMarked(out.length, measured.element.length, mask->elements.length);
    copyMarked(out.wall, measured.element.wall, mask->elements.wall);
    copyMarked(out.window, measured.element.window, mask->elements.window);
    copyMarked(out.door, measured.element.door, mask->elements.door);
    const API_CompositeQuantity& skinMask = mask->composites;
    if (quantities->composites != nullptr &&
        (marked(&skinMask.buildMatIndices) || marked(&skinMask.volumes) || marked(&skinMask.projectedArea))) {
        quantities->composites->Clear();
        for (const API_CompositeQuantity& skin : measured.skins) {
            API_CompositeQuantity copy;
            if (marked(&skinMask.buildMatIndices)) {
                copy.buildMatIndices = skin.buildMatIndices;
            }
            copyMarked(copy.volumes, skin.volumes, skinMask.volumes);
            copyMarked(copy.projectedArea, skin.projectedArea, skinMask.projectedArea);
            quantities->composites->Push(copy);
        }
    }
    return NoError;
}
