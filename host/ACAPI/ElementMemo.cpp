#include "ACAPI/ElementMemo.hpp"

#include "ACAPI/LibraryParts.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/Sim.h"

namespace {

template <typename T>
void killHandle(T**& handle) {
    if (handle == nullptr) {
        return; // most parts of a memo are absent: no call for them
    }
    auto* h = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&h);
    handle = nullptr;
}

template <typename T>
void killPtr(T*& block) {
    if (block == nullptr) {
        return;
    }
    auto* p = reinterpret_cast<GSPtr>(block);
    BMKillPtr(&p);
    block = nullptr;
}

void killParagraphs(API_ElementMemo& memo) {
    if (memo.paragraphs == nullptr) {
        return;
    }
    GSSize count =
        BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.paragraphs)) / GSSize(sizeof(API_ParagraphType));
    for (GSSize i = 0; i < count; ++i) {
        API_ParagraphType& paragraph = (*memo.paragraphs)[i];
        killPtr(paragraph.tab);
        killPtr(paragraph.run);
        killPtr(paragraph.eolPos);
    }
    killHandle(memo.paragraphs);
}

} // namespace

GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo) {
    // Disposing always succeeds on the host, so no fault is injected here: a failure would only
    // leak what the caller hands back.
    sim::log("ACAPI_DisposeElemMemoHdls");
    if (memo == nullptr) {
        return APIERR_BADPARS;
    }
    killParagraphs(*memo);
    killHandle(memo->coords);
    killHandle(memo->pends);
    killHandle(memo->parcs);
    killHandle(memo->vertexIDs);
    // Parameter records own their array handles.
    ACAPI_DisposeAddParHdl(&memo->params);
    killHandle(memo->gables);
    killHandle(memo->roofSides);
    killHandle(memo->meshPolyZ);
    killHandle(memo->meshLevelCoords);
    killHandle(memo->meshLevelEnds);
    killHandle(memo->dimElems);
    killHandle(memo->bezierDirs);
    killHandle(memo->textContent);
    killHandle(memo->textLineStarts);
    killHandle(memo->beamHoles);
    killHandle(memo->linkList);
    killHandle(memo->pictHdl);
    killHandle(memo->drawingData);
    killPtr(memo->sectionLineCoords);
    killPtr(memo->sectionSecondLineCoords);
    killPtr(memo->cWSegContour);
    killHandle(memo->cWallSegments);
    killHandle(memo->cWallFrames);
    killHandle(memo->cWallPanels);
    killHandle(memo->cWallJunctions);
    killHandle(memo->cWallAccessories);
    killHandle(memo->cWSegGridMesh);
    killHandle(memo->cWSegPrimaryPattern);
    killHandle(memo->cWSegSecondaryPattern);
    killHandle(memo->cWSegPanelPattern);
    killHandle(memo->roofEdgeTypes);
    killHandle(memo->sideMaterials);
    killHandle(memo->additionalPolyCoords);
    killHandle(memo->additionalPolyPends);
    killHandle(memo->additionalPolyParcs);
    killHandle(memo->additionalPolyVertexIDs);
    killHandle(memo->additionalPolyEdges);
    killHandle(memo->shellShapes);
    killHandle(memo->shellContours);
    killHandle(memo->morphBody);
    killHandle(memo->morphMaterialMapTable);
    killHandle(memo->wallWindows);
    killHandle(memo->wallDoors);
    delete memo->elemInfoString;
    memo->elemInfoString = nullptr;
    return NoError;
}
