#include "Memo/MemoStore.h"

#include <new>

namespace zelvane {

API_Coord*** MemoStore::coords() {
    throw std::bad_alloc();
}

Int32*** MemoStore::pends() {
    throw std::bad_alloc();
}

API_PolyArc*** MemoStore::parcs() {
    throw std::bad_alloc();
}

UInt32*** MemoStore::vertexIDs() {
    throw std::bad_alloc();
}

API_AddParType*** MemoStore::params() {
    throw std::bad_alloc();
}

API_Gable*** MemoStore::gables() {
    throw std::bad_alloc();
}

char*** MemoStore::roofSides() {
    throw std::bad_alloc();
}

double*** MemoStore::meshPolyZ() {
    throw std::bad_alloc();
}

char*** MemoStore::meshLevelCoords() {
    throw std::bad_alloc();
}

Int32*** MemoStore::meshLevelEnds() {
    throw std::bad_alloc();
}

char*** MemoStore::dimElems() {
    throw std::bad_alloc();
}

char*** MemoStore::bezierDirs() {
    throw std::bad_alloc();
}

char*** MemoStore::textContent() {
    throw std::bad_alloc();
}

Int32*** MemoStore::textLineStarts() {
    throw std::bad_alloc();
}

char*** MemoStore::beamHoles() {
    throw std::bad_alloc();
}

char*** MemoStore::linkList() {
    throw std::bad_alloc();
}

char*** MemoStore::pictHdl() {
    throw std::bad_alloc();
}

API_ParagraphType*** MemoStore::paragraphs() {
    throw std::bad_alloc();
}

char*** MemoStore::drawingData() {
    throw std::bad_alloc();
}

API_DashItems*** MemoStore::ltype_dashItems() {
    throw std::bad_alloc();
}

API_LineItems*** MemoStore::ltype_lineItems() {
    throw std::bad_alloc();
}

API_FillLine*** MemoStore::fill_lineItems() {
    throw std::bad_alloc();
}

double*** MemoStore::fill_lineLength() {
    throw std::bad_alloc();
}

API_CWallComponent*** MemoStore::cwall_compItems() {
    throw std::bad_alloc();
}

API_CWallLineComponent*** MemoStore::cwall_compLItems() {
    throw std::bad_alloc();
}

API_LayerStat*** MemoStore::layer_statItems() {
    throw std::bad_alloc();
}

API_Coord** MemoStore::sectionLineCoords() {
    throw std::bad_alloc();
}

char** MemoStore::cWSegContour() {
    throw std::bad_alloc();
}

char*** MemoStore::cWallSegments() {
    throw std::bad_alloc();
}

char*** MemoStore::cWallFrames() {
    throw std::bad_alloc();
}

char*** MemoStore::cWallPanels() {
    throw std::bad_alloc();
}

char*** MemoStore::cWallJunctions() {
    throw std::bad_alloc();
}

char*** MemoStore::cWallAccessories() {
    throw std::bad_alloc();
}

char*** MemoStore::cWSegGridMesh() {
    throw std::bad_alloc();
}

char*** MemoStore::cWSegPrimaryPattern() {
    throw std::bad_alloc();
}

char*** MemoStore::cWSegSecondaryPattern() {
    throw std::bad_alloc();
}

char*** MemoStore::cWSegPanelPattern() {
    throw std::bad_alloc();
}

char*** MemoStore::roofEdgeTypes() {
    throw std::bad_alloc();
}

char*** MemoStore::sideMaterials() {
    throw std::bad_alloc();
}

API_Coord*** MemoStore::additionalPolyCoords() {
    throw std::bad_alloc();
}

Int32*** MemoStore::additionalPolyPends() {
    throw std::bad_alloc();
}

API_PolyArc*** MemoStore::additionalPolyParcs() {
    throw std::bad_alloc();
}

UInt32*** MemoStore::additionalPolyVertexIDs() {
    throw std::bad_alloc();
}

char*** MemoStore::additionalPolyEdges() {
    throw std::bad_alloc();
}

char*** MemoStore::shellShapes() {
    throw std::bad_alloc();
}

char*** MemoStore::shellContours() {
    throw std::bad_alloc();
}

char*** MemoStore::morphBody() {
    throw std::bad_alloc();
}

char*** MemoStore::morphMaterialMapTable() {
    throw std::bad_alloc();
}

API_Coord** MemoStore::coords() const {
    throw std::bad_alloc();
}

Int32** MemoStore::pends() const {
    throw std::bad_alloc();
}

API_PolyArc** MemoStore::parcs() const {
    throw std::bad_alloc();
}

UInt32** MemoStore::vertexIDs() const {
    throw std::bad_alloc();
}

API_AddParType** MemoStore::params() const {
    throw std::bad_alloc();
}

API_Gable** MemoStore::gables() const {
    throw std::bad_alloc();
}

char** MemoStore::roofSides() const {
    throw std::bad_alloc();
}

double** MemoStore::meshPolyZ() const {
    throw std::bad_alloc();
}

char** MemoStore::meshLevelCoords() const {
    throw std::bad_alloc();
}

Int32** MemoStore::meshLevelEnds() const {
    throw std::bad_alloc();
}

char** MemoStore::dimElems() const {
    throw std::bad_alloc();
}

char** MemoStore::bezierDirs() const {
    throw std::bad_alloc();
}

char** MemoStore::textContent() const {
    throw std::bad_alloc();
}

Int32** MemoStore::textLineStarts() const {
    throw std::bad_alloc();
}

char** MemoStore::beamHoles() const {
    throw std::bad_alloc();
}

char** MemoStore::linkList() const {
    throw std::bad_alloc();
}

char** MemoStore::pictHdl() const {
    throw std::bad_alloc();
}

API_ParagraphType** MemoStore::paragraphs() const {
    throw std::bad_alloc();
}

char** MemoStore::drawingData() const {
    throw std::bad_alloc();
}

API_DashItems** MemoStore::ltype_dashItems() const {
    throw std::bad_alloc();
}

API_LineItems** MemoStore::ltype_lineItems() const {
    throw std::bad_alloc();
}

API_FillLine** MemoStore::fill_lineItems() const {
    throw std::bad_alloc();
}

double** MemoStore::fill_lineLength() const {
    throw std::bad_alloc();
}

API_CWallComponent** MemoStore::cwall_compItems() const {
    throw std::bad_alloc();
}

API_CWallLineComponent** MemoStore::cwall_compLItems() const {
    throw std::bad_alloc();
}

API_LayerStat** MemoStore::layer_statItems() const {
    throw std::bad_alloc();
}

API_Coord* MemoStore::sectionLineCoords() const {
    throw std::bad_alloc();
}

char* MemoStore::cWSegContour() const {
    throw std::bad_alloc();
}

char** MemoStore::cWallSegments() const {
    throw std::bad_alloc();
}

char** MemoStore::cWallFrames() const {
    throw std::bad_alloc();
}

char** MemoStore::cWallPanels() const {
    throw std::bad_alloc();
}

char** MemoStore::cWallJunctions() const {
    throw std::bad_alloc();
}

char** MemoStore::cWallAccessories() const {
    throw std::bad_alloc();
}

char** MemoStore::cWSegGridMesh() const {
    throw std::bad_alloc();
}

char** MemoStore::cWSegPrimaryPattern() const {
    throw std::bad_alloc();
}

char** MemoStore::cWSegSecondaryPattern() const {
    throw std::bad_alloc();
}

char** MemoStore::cWSegPanelPattern() const {
    throw std::bad_alloc();
}

char** MemoStore::roofEdgeTypes() const {
    throw std::bad_alloc();
}

char** MemoStore::sideMaterials() const {
    throw std::bad_alloc();
}

API_Coord** MemoStore::additionalPolyCoords() const {
    throw std::bad_alloc();
}

Int32** MemoStore::additionalPolyPends() const {
    throw std::bad_alloc();
}

API_PolyArc** MemoStore::additionalPolyParcs() const {
    throw std::bad_alloc();
}

UInt32** MemoStore::additionalPolyVertexIDs() const {
    throw std::bad_alloc();
}

char** MemoStore::additionalPolyEdges() const {
    throw std::bad_alloc();
}

char** MemoStore::shellContours() const {
    throw std::bad_alloc();
}

char** MemoStore::morphBody() const {
    throw std::bad_alloc();
}

char** MemoStore::morphMaterialMapTable() const {
    throw std::bad_alloc();
}
} // namespace zelvane
