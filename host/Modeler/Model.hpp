// The host's modeler: the 3D window's sight and the model read from it (its elements, their
// bounds, materials and textures).
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/Guid.hpp"
#include "Modeler/Body.hpp"

#include <memory>
#include <string>
#include <vector>

namespace Modeler {
// What the 3D window shows; the host shares it.
class Sight;
using SightPtr = std::shared_ptr<Sight>;
} // namespace Modeler

namespace ModelerAPI {

// A colour of the model, each channel from 0 to 1.
struct Color {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
};

// A surface material of the model: its name, colour (0 to 1) and texture (an index from 1, 0
// for none). Reflections, transparency and attenuations are fractions from 0 to 1, the shining
// from 0 to 100; the texture's rotation is in radians.
struct Material {
    std::string name;
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double transparency = 0.0;
    Int32 textureIndex = 0;
    Int32 type = 0;
    double ambient = 0.0;
    double diffuse = 0.0;
    double specular = 0.0;
    double shining = 0.0;
    double transparencyAttenuation = 0.0;
    double emissionAttenuation = 0.0;
    Color specularColor{};
    Color emissionColor{};
    double textureRotation = 0.0;
};

// A texture: its pixels (width x height, 4 bytes each, row by row), its size on the surface and
// how it is mirrored; not available when its image could not be loaded.
struct Texture {
    std::string name;
    Int32 width = 0;
    Int32 height = 0;
    double xSize = 1.0;
    double ySize = 1.0;
    bool mirrorX = false;
    bool mirrorY = false;
    bool available = true;
    std::vector<UInt32> pixels{};
};

// One element of the model: the placed element it comes from, its box and its bodies (the host
// fills them when it reads the model).
struct Element {
    GS::Guid guid;
    Int32 typeID = 0;
    Box3D bounds{};
    std::vector<std::shared_ptr<const detail::BodyData>> bodies{};

    GS::Guid GetElemGuid() const { return guid; }
    Int32 GetTypeID() const { return typeID; }
    Int32 GetBodyNum() const { return Int32(bodies.size()); }
    // Bodies are numbered from 1; false outside.
    bool GetBody(Int32 index, Body* body) const;
};

// Reads the attributes (materials, textures) of a model; the host fills it with the model.
class AttributeReader {
public:
    AttributeReader() = default;
};

class Model {
public:
    Model() = default;

    Int32 GetElementNum() const { return Int32(m_elements.size()); }
    // Elements and materials are numbered from 1; false outside.
    bool GetElement(Int32 index, Element* element) const;
    Int32 GetMaterialNum() const { return Int32(m_materials.size()); }
    bool GetMaterial(Int32 index, Material* material) const;
    Int32 GetTextureNum() const { return Int32(m_textures.size()); }
    bool GetTexture(Int32 index, Texture* texture) const;
    // The box of every element; false for an empty model.
    bool GetBounds(Box3D* bounds) const;

    // Filled by EXPGetModel.
    std::vector<Element> m_elements;
    std::vector<Material> m_materials;
    std::vector<Texture> m_textures;
};

} // namespace ModelerAPI

// The sight of the 3D window; APIERR_GENERAL when the window shows nothing.
GSErrCode ACAPI_3D_GetCurrentWindowSight(Modeler::SightPtr* sight);
// Fills the model (and the attribute reader) from the sight.
GSErrCode EXPGetModel(const Modeler::SightPtr& sight, ModelerAPI::Model* model,
                      ModelerAPI::AttributeReader* reader);
