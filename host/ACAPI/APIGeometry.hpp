// Geometric records of the host's add-on interface, its geometry library and its modeler: plan and
// 3D coordinates, sectors, boxes, transformation matrices and the edit record of an element edit.
#pragma once

#include "GSRoot/GSRoot.hpp"

struct API_Coord {
    double x;
    double y;
};

struct API_Coord3D {
    double x;
    double y;
    double z;
};

// A 3D vector of the add-on interface.
struct API_VectType {
    double x;
    double y;
    double z;
};

// A vertex of the 3D model.
struct API_VertType {
    double x;
    double y;
    double z;
};

// A plan segment from c1 to c2.
struct API_Sector {
    API_Coord c1;
    API_Coord c2;
};

struct API_Box {
    double xMin;
    double yMin;
    double xMax;
    double yMax;
};

struct API_Box3D {
    double xMin;
    double yMin;
    double zMin;
    double xMax;
    double yMax;
    double zMax;
};

// A 3x4 transformation in row order: element (r, c) is tmx[4 r + c]; the translation is column 3.
struct API_Tranmat {
    Int32 status;
    double tmx[12];
};

// The geometry library's box keeps its z pair last.
struct Box3D {
    double xMin;
    double yMin;
    double xMax;
    double yMax;
    double zMin;
    double zMax;
};

// The kind of an element edit.
enum API_EditCmdID : Int32 {
    APIEdit_Drag = 1,
    APIEdit_Rotate = 2,
    APIEdit_Mirror = 3,
    APIEdit_Elevate = 4,
    APIEdit_Stretch = 5,
    APIEdit_Resize = 6
};

// The edit record of an element edit: a drag from begC to endC, a rotation about origC from begC to
// endC, a mirror on the line begC-endC, an elevation by endC.z - begC.z, ...
struct API_EditPars {
    API_EditCmdID typeID;
    bool withDelete;
    API_Coord3D origC;
    API_Coord3D begC;
    API_Coord3D endC;
};

namespace ModelerAPI {

struct Vertex {
    double x;
    double y;
    double z;
};

struct Vector {
    double x;
    double y;
    double z;
};

struct TextureCoordinate {
    double u;
    double v;
};

} // namespace ModelerAPI
