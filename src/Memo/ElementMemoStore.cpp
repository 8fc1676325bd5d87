#include "Memo/ElementMemoStore.h"

#include "Environment/Memory.h"

#include <new>

namespace zelvane {

API_ElementMemo* ElementMemoStore::makeRecord() {
    char* block = allocatePtr(int(sizeof(API_ElementMemo)));
    return new (block) API_ElementMemo();
}

void ElementMemoStore::disposeRecord(API_ElementMemo* record) {
    if (record == nullptr) {
        return;
    }
    ACAPI_DisposeElemMemoHdls(record);
    char* block = reinterpret_cast<char*>(record);
    disposePtr(&block);
}

ElementMemoStore::ElementMemoStore(API_ElementMemo* target, const API_ElementMemo* source)
    : m_target(target != nullptr ? target : makeRecord()), m_source(source != nullptr ? source : m_target) {}

ElementMemoStore::~ElementMemoStore() {
    if (!m_keep) {
        disposeRecord(m_target);
    }
}

API_Coord*** ElementMemoStore::coords() {
    return &m_target->coords;
}

API_Coord** ElementMemoStore::coords() const {
    return m_source->coords;
}

Int32*** ElementMemoStore::pends() {
    return &m_target->pends;
}

Int32** ElementMemoStore::pends() const {
    return m_source->pends;
}

API_PolyArc*** ElementMemoStore::parcs() {
    return &m_target->parcs;
}

API_PolyArc** ElementMemoStore::parcs() const {
    return m_source->parcs;
}

UInt32*** ElementMemoStore::vertexIDs() {
    return &m_target->vertexIDs;
}

UInt32** ElementMemoStore::vertexIDs() const {
    return m_source->vertexIDs;
}

API_AddParType*** ElementMemoStore::params() {
    return &m_target->params;
}

API_AddParType** ElementMemoStore::params() const {
    return m_source->params;
}

API_Gable*** ElementMemoStore::gables() {
    return &m_target->gables;
}

API_Gable** ElementMemoStore::gables() const {
    return m_source->gables;
}

char*** ElementMemoStore::roofSides() {
    return &m_target->roofSides;
}

char** ElementMemoStore::roofSides() const {
    return m_source->roofSides;
}

double*** ElementMemoStore::meshPolyZ() {
    return &m_target->meshPolyZ;
}

double** ElementMemoStore::meshPolyZ() const {
    return m_source->meshPolyZ;
}

char*** ElementMemoStore::meshLevelCoords() {
    return &m_target->meshLevelCoords;
}

char** ElementMemoStore::meshLevelCoords() const {
    return m_source->meshLevelCoords;
}

Int32*** ElementMemoStore::meshLevelEnds() {
    return &m_target->meshLevelEnds;
}

Int32** ElementMemoStore::meshLevelEnds() const {
    return m_source->meshLevelEnds;
}

char*** ElementMemoStore::dimElems() {
    return &m_target->dimElems;
}

char** ElementMemoStore::dimElems() const {
    return m_source->dimElems;
}

char*** ElementMemoStore::bezierDirs() {
    return &m_target->bezierDirs;
}

char** ElementMemoStore::bezierDirs() const {
    return m_source->bezierDirs;
}

char*** ElementMemoStore::textContent() {
    return &m_target->textContent;
}

char** ElementMemoStore::textContent() const {
    return m_source->textContent;
}

Int32*** ElementMemoStore::textLineStarts() {
    return &m_target->textLineStarts;
}

Int32** ElementMemoStore::textLineStarts() const {
    return m_source->textLineStarts;
}

char*** ElementMemoStore::beamHoles() {
    return &m_target->beamHoles;
}

char** ElementMemoStore::beamHoles() const {
    return m_source->beamHoles;
}

char*** ElementMemoStore::linkList() {
    return &m_target->linkList;
}

char** ElementMemoStore::linkList() const {
    return m_source->linkList;
}

char*** ElementMemoStore::pictHdl() {
    return &m_target->pictHdl;
}

char** ElementMemoStore::pictHdl() const {
    return m_source->pictHdl;
}

API_ParagraphType*** ElementMemoStore::paragraphs() {
    return &m_target->paragraphs;
}

API_ParagraphType** ElementMemoStore::paragraphs() const {
    return m_source->paragraphs;
}

char*** ElementMemoStore::drawingData() {
    return &m_target->drawingData;
}

char** ElementMemoStore::drawingData() const {
    return m_source->drawingData;
}

API_Coord** ElementMemoStore::sectionLineCoords() {
    return &m_target->sectionLineCoords;
}

API_Coord* ElementMemoStore::sectionLineCoords() const {
    return m_target->sectionLineCoords;
}

char** ElementMemoStore::cWSegContour() {
    if (m_target->cWSegContour == nullptr) {
        m_target->cWSegContour = allocatePtr(contourBlockSize);
        clearMemory(m_target->cWSegContour, contourBlockSize);
    }
    return &m_target->cWSegContour;
}

char* ElementMemoStore::cWSegContour() const {
    return m_source->cWSegContour;
}

char*** ElementMemoStore::cWallSegments() {
    return &m_target->cWallSegments;
}

char** ElementMemoStore::cWallSegments() const {
    return m_source->cWallSegments;
}

char*** ElementMemoStore::cWallFrames() {
    return &m_target->cWallFrames;
}

char** ElementMemoStore::cWallFrames() const {
    return m_source->cWallFrames;
}

char*** ElementMemoStore::cWallPanels() {
    return &m_target->cWallPanels;
}

char** ElementMemoStore::cWallPanels() const {
    return m_source->cWallPanels;
}

char*** ElementMemoStore::cWallJunctions() {
    return &m_target->cWallJunctions;
}

char** ElementMemoStore::cWallJunctions() const {
    return m_source->cWallJunctions;
}

char*** ElementMemoStore::cWallAccessories() {
    return &m_target->cWallAccessories;
}

char** ElementMemoStore::cWallAccessories() const {
    return m_source->cWallAccessories;
}

char*** ElementMemoStore::cWSegGridMesh() {
    return &m_target->cWSegGridMesh;
}

char** ElementMemoStore::cWSegGridMesh() const {
    return m_source->cWSegGridMesh;
}

char*** ElementMemoStore::cWSegPrimaryPattern() {
    return &m_target->cWSegPrimaryPattern;
}

char** ElementMemoStore::cWSegPrimaryPattern() const {
    return m_source->cWSegPrimaryPattern;
}

char*** ElementMemoStore::cWSegSecondaryPattern() {
    return &m_target->cWSegSecondaryPattern;
}

char** ElementMemoStore::cWSegSecondaryPattern() const {
    return m_source->cWSegSecondaryPattern;
}

char*** ElementMemoStore::cWSegPanelPattern() {
    return &m_target->cWSegPanelPattern;
}

char** ElementMemoStore::cWSegPanelPattern() const {
    return m_source->cWSegPanelPattern;
}

char*** ElementMemoStore::roofEdgeTypes() {
    return &m_target->roofEdgeTypes;
}

char** ElementMemoStore::roofEdgeTypes() const {
    return m_source->roofEdgeTypes;
}

char*** ElementMemoStore::sideMaterials() {
    return &m_target->sideMaterials;
}

char** ElementMemoStore::sideMaterials() const {
    return m_source->sideMaterials;
}

API_Coord*** ElementMemoStore::additionalPolyCoords() {
    return &m_target->additionalPolyCoords;
}

API_Coord** ElementMemoStore::additionalPolyCoords() const {
    return m_target->additionalPolyCoords;
}

Int32*** ElementMemoStore::additionalPolyPends() {
    return &m_target->additionalPolyPends;
}

Int32** ElementMemoStore::additionalPolyPends() const {
    return m_target->additionalPolyPends;
}

API_PolyArc*** ElementMemoStore::additionalPolyParcs() {
    return &m_target->additionalPolyParcs;
}

API_PolyArc** ElementMemoStore::additionalPolyParcs() const {
    return m_target->additionalPolyParcs;
}

UInt32*** ElementMemoStore::additionalPolyVertexIDs() {
    return &m_target->additionalPolyVertexIDs;
}

UInt32** ElementMemoStore::additionalPolyVertexIDs() const {
    return m_target->additionalPolyVertexIDs;
}

char*** ElementMemoStore::additionalPolyEdges() {
    return &m_target->additionalPolyEdges;
}

char** ElementMemoStore::additionalPolyEdges() const {
    return m_source->additionalPolyEdges;
}

char*** ElementMemoStore::shellShapes() {
    return &m_target->shellShapes;
}

char*** ElementMemoStore::shellContours() {
    return &m_target->shellContours;
}

char** ElementMemoStore::shellContours() const {
    return m_source->shellContours;
}

char*** ElementMemoStore::morphBody() {
    return &m_target->morphBody;
}

char** ElementMemoStore::morphBody() const {
    return m_target->morphBody;
}

char*** ElementMemoStore::morphMaterialMapTable() {
    return &m_target->morphMaterialMapTable;
}

char** ElementMemoStore::morphMaterialMapTable() const {
    return m_target->morphMaterialMapTable;
}
} // namespace zelvane
