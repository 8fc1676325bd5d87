// A surface material of the project: how it reflects, shines and lets light through, its
// colours and its texture. It may instead wrap a material of the 3D model (with its texture),
// which every getter then asks first.
#pragma once

#include "Attribute/CadColour.h"
#include "Attribute/RecordAttribute.h"
#include "Modeler/Model.hpp"

#include <memory>

namespace zelvane {

class DataFile;
class Image;

class Finish : public RecordAttribute<Finish, API_MaterialType, 6> {
public:
    // Where a surface material is applied; stepping wraps at both ends.
    enum class Use : UInt8 { first = 0, last = 9 };

    using RecordAttribute::RecordAttribute;
    // The 3D model's material and its texture (null for none), shared.
    Finish(std::shared_ptr<const ModelerAPI::Material> material,
           std::shared_ptr<const ModelerAPI::Texture> texture);

    String getName() const override;
    Int32 getMaterialType() const;
    // Fractions from 0 to 1 of the host's percentages and scales.
    double getAmbientReflection() const;
    double getDiffuseReflection() const;
    double getSpecularReflection() const;
    double getTransparency() const;
    double getShininess() const;
    double getTransparencyAttenuation() const;
    double getEmissionAttenuation() const;
    CadColour getSurfaceColour() const;
    CadColour getSpecularColour() const;
    CadColour getEmissionColour() const;

    bool hasTexture() const;
    // Without a texture: not mirrored, missing, scales 1, rotation 0.
    bool isTextureMirroredX() const;
    bool isTextureMirroredY() const;
    bool isTextureMissing() const;
    double getTextureScaleX() const;
    double getTextureScaleY() const;
    double getTextureRotation() const;
    String getTextureName() const;
    // A new image of the 3D texture's pixels at 72 dpi (the caller deletes it); null without a 3D
    // texture, or when its pixels do not fill its size or the host cannot make the pixel map.
    Image* getTextureImage() const;
    // A new data file on the texture's file (the caller deletes it); null without one or when a
    // 3D material is wrapped.
    DataFile* getTextureFile() const;

private:
    std::shared_ptr<const ModelerAPI::Material> m_material;
    std::shared_ptr<const ModelerAPI::Texture> m_texture;
};

Finish::Use& operator++(Finish::Use& use);
Finish::Use& operator--(Finish::Use& use);
Finish::Use operator++(Finish::Use& use, int);
Finish::Use operator--(Finish::Use& use, int);

} // namespace zelvane
