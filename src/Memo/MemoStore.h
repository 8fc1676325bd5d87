// A host memo record seen as a table of handles, one accessor per kind of extra data. Memo parts
// reach their handles only through here, never through the record's layout. The non-const form
// answers the address of the record's member, so a new handle can be stored there; the const
// form answers the member's value. A kind the record does not have throws std::bad_alloc.
#pragma once

#include "GSRoot/GSRoot.hpp"

struct API_Coord;
struct API_PolyArc;
struct API_AddParType;
struct API_Gable;
struct API_ParagraphType;
struct API_DashItems;
struct API_LineItems;
struct API_FillLine;
struct API_CWallComponent;
struct API_CWallLineComponent;
struct API_LayerStat;

namespace zelvane {

class MemoStore {
public:
    MemoStore() = default;
    MemoStore(const MemoStore&) = delete;
    MemoStore& operator=(const MemoStore&) = delete;
    virtual ~MemoStore() = default;

    virtual API_Coord*** coords();
    virtual Int32*** pends();
    virtual API_PolyArc*** parcs();
    virtual UInt32*** vertexIDs();
    virtual API_AddParType*** params();
    virtual API_Gable*** gables();
    virtual char*** roofSides();
    virtual double*** meshPolyZ();
    virtual char*** meshLevelCoords();
    virtual Int32*** meshLevelEnds();
    virtual char*** dimElems();
    virtual char*** bezierDirs();
    virtual char*** textContent();
    virtual Int32*** textLineStarts();
    virtual char*** beamHoles();
    virtual char*** linkList();
    virtual char*** pictHdl();
    virtual API_ParagraphType*** paragraphs();
    virtual char*** drawingData();
    virtual API_DashItems*** ltype_dashItems();
    virtual API_LineItems*** ltype_lineItems();
    virtual API_FillLine*** fill_lineItems();
    virtual double*** fill_lineLength();
    virtual API_CWallComponent*** cwall_compItems();
    virtual API_CWallLineComponent*** cwall_compLItems();
    virtual API_LayerStat*** layer_statItems();
    virtual API_Coord** sectionLineCoords();
    virtual char** cWSegContour();
    virtual char*** cWallSegments();
    virtual char*** cWallFrames();
    virtual char*** cWallPanels();
    virtual char*** cWallJunctions();
    virtual char*** cWallAccessories();
    virtual char*** cWSegGridMesh();
    virtual char*** cWSegPrimaryPattern();
    virtual char*** cWSegSecondaryPattern();
    virtual char*** cWSegPanelPattern();
    virtual char*** roofEdgeTypes();
    virtual char*** sideMaterials();
    virtual API_Coord*** additionalPolyCoords();
    virtual Int32*** additionalPolyPends();
    virtual API_PolyArc*** additionalPolyParcs();
    virtual UInt32*** additionalPolyVertexIDs();
    virtual char*** additionalPolyEdges();
    virtual char*** shellShapes();
    virtual char*** shellContours();
    virtual char*** morphBody();
    virtual char*** morphMaterialMapTable();
    virtual API_Coord** coords() const;
    virtual Int32** pends() const;
    virtual API_PolyArc** parcs() const;
    virtual UInt32** vertexIDs() const;
    virtual API_AddParType** params() const;
    virtual API_Gable** gables() const;
    virtual char** roofSides() const;
    virtual double** meshPolyZ() const;
    virtual char** meshLevelCoords() const;
    virtual Int32** meshLevelEnds() const;
    virtual char** dimElems() const;
    virtual char** bezierDirs() const;
    virtual char** textContent() const;
    virtual Int32** textLineStarts() const;
    virtual char** beamHoles() const;
    virtual char** linkList() const;
    virtual char** pictHdl() const;
    virtual API_ParagraphType** paragraphs() const;
    virtual char** drawingData() const;
    virtual API_DashItems** ltype_dashItems() const;
    virtual API_LineItems** ltype_lineItems() const;
    virtual API_FillLine** fill_lineItems() const;
    virtual double** fill_lineLength() const;
    virtual API_CWallComponent** cwall_compItems() const;
    virtual API_CWallLineComponent** cwall_compLItems() const;
    virtual API_LayerStat** layer_statItems() const;
    virtual API_Coord* sectionLineCoords() const;
    virtual char* cWSegContour() const;
    virtual char** cWallSegments() const;
    virtual char** cWallFrames() const;
    virtual char** cWallPanels() const;
    virtual char** cWallJunctions() const;
    virtual char** cWallAccessories() const;
    virtual char** cWSegGridMesh() const;
    virtual char** cWSegPrimaryPattern() const;
    virtual char** cWSegSecondaryPattern() const;
    virtual char** cWSegPanelPattern() const;
    virtual char** roofEdgeTypes() const;
    virtual char** sideMaterials() const;
    virtual API_Coord** additionalPolyCoords() const;
    virtual Int32** additionalPolyPends() const;
    virtual API_PolyArc** additionalPolyParcs() const;
    virtual UInt32** additionalPolyVertexIDs() const;
    virtual char** additionalPolyEdges() const;
    virtual char** shellContours() const;
    virtual char** morphBody() const;
    virtual char** morphMaterialMapTable() const;
};

} // namespace zelvane
