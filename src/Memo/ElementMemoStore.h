// The memo store over a host element memo record. Accessors write the target record and read the
// source record; a few kinds (the section line, the additional polygon, the morph body) are read
// from the target as well, as the host keeps them only there.
//
// The records are host pointer blocks of sizeof(API_ElementMemo). When the store is destroyed
// with keep unset it disposes every handle of the target and frees the target, whether it made
// the record or was given it: a caller that lends a record, or takes one over after packing,
// sets keep first.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "Memo/MemoStore.h"

namespace zelvane {

class ElementMemoStore : public MemoStore {
public:
    // A null target makes a new zero-filled record; a null source reads the target.
    explicit ElementMemoStore(API_ElementMemo* target = nullptr, const API_ElementMemo* source = nullptr);
    ~ElementMemoStore() override;

    API_ElementMemo* getTarget() const { return m_target; }
    const API_ElementMemo* getSource() const { return m_source; }
    bool isKeep() const { return m_keep; }
    void setKeep(bool keep) { m_keep = keep; }

    // A new zero-filled record in a host pointer block, as the store takes it.
    static API_ElementMemo* makeRecord();
    // Disposes the record's handles and frees it; null does nothing.
    static void disposeRecord(API_ElementMemo* record);

    API_Coord*** coords() override;
    API_Coord** coords() const override;
    Int32*** pends() override;
    Int32** pends() const override;
    API_PolyArc*** parcs() override;
    API_PolyArc** parcs() const override;
    UInt32*** vertexIDs() override;
    UInt32** vertexIDs() const override;
    API_AddParType*** params() override;
    API_AddParType** params() const override;
    API_Gable*** gables() override;
    API_Gable** gables() const override;
    char*** roofSides() override;
    char** roofSides() const override;
    double*** meshPolyZ() override;
    double** meshPolyZ() const override;
    char*** meshLevelCoords() override;
    char** meshLevelCoords() const override;
    Int32*** meshLevelEnds() override;
    Int32** meshLevelEnds() const override;
    char*** dimElems() override;
    char** dimElems() const override;
    char*** bezierDirs() override;
    char** bezierDirs() const override;
    char*** textContent() override;
    char** textContent() const override;
    Int32*** textLineStarts() override;
    Int32** textLineStarts() const override;
    char*** beamHoles() override;
    char** beamHoles() const override;
    char*** linkList() override;
    char** linkList() const override;
    char*** pictHdl() override;
    char** pictHdl() const override;
    API_ParagraphType*** paragraphs() override;
    API_ParagraphType** paragraphs() const override;
    char*** drawingData() override;
    char** drawingData() const override;
    API_Coord** sectionLineCoords() override;
    API_Coord* sectionLineCoords() const override;
    char** cWSegContour() override;
    char* cWSegContour() const override;
    char*** cWallSegments() override;
    char** cWallSegments() const override;
    char*** cWallFrames() override;
    char** cWallFrames() const override;
    char*** cWallPanels() override;
    char** cWallPanels() const override;
    char*** cWallJunctions() override;
    char** cWallJunctions() const override;
    char*** cWallAccessories() override;
    char** cWallAccessories() const override;
    char*** cWSegGridMesh() override;
    char** cWSegGridMesh() const override;
    char*** cWSegPrimaryPattern() override;
    char** cWSegPrimaryPattern() const override;
    char*** cWSegSecondaryPattern() override;
    char** cWSegSecondaryPattern() const override;
    char*** cWSegPanelPattern() override;
    char** cWSegPanelPattern() const override;
    char*** roofEdgeTypes() override;
    char** roofEdgeTypes() const override;
    char*** sideMaterials() override;
    char** sideMaterials() const override;
    API_Coord*** additionalPolyCoords() override;
    API_Coord** additionalPolyCoords() const override;
    Int32*** additionalPolyPends() override;
    Int32** additionalPolyPends() const override;
    API_PolyArc*** additionalPolyParcs() override;
    API_PolyArc** additionalPolyParcs() const override;
    UInt32*** additionalPolyVertexIDs() override;
    UInt32** additionalPolyVertexIDs() const override;
    char*** additionalPolyEdges() override;
    char** additionalPolyEdges() const override;
    char*** shellShapes() override;
    char*** shellContours() override;
    char** shellContours() const override;
    char*** morphBody() override;
    char** morphBody() const override;
    char*** morphMaterialMapTable() override;
    char** morphMaterialMapTable() const override;

private:
    // The curtain-wall segment contour is a plain block of this many bytes.
    static constexpr int contourBlockSize = 56;

    API_ElementMemo* m_target;
    const API_ElementMemo* m_source;
    bool m_keep = false;
};

} // namespace zelvane
