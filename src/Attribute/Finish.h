// A surface material of the project: how it reflects, shines and lets light through, its
// colours and its texture.
#pragma once

#include "Attribute/CadColour.h"
#include "Attribute/RecordAttribute.h"

namespace zelvane {

class DataFile;

class Finish : public RecordAttribute<Finish, API_MaterialType, 6> {
public:
    // Where a surface material is applied; stepping wraps at both ends.
    enum class Use : UInt8 { first = 0, last = 9 };

    using RecordAttribute::RecordAttribute;

    Int32 getMaterialType() const { return data().mtype; }
    // Fractions from 0 to 1 of the host's percentages and scales.
    double getAmbientReflection() const { return data().ambientPc / 100.0; }
    double getDiffuseReflection() const { return data().diffusePc / 100.0; }
    double getSpecularReflection() const { return data().specularPc / 100.0; }
    double getTransparency() const { return data().transpPc / 100.0; }
    double getShininess() const { return data().shine / 10000.0; }
    double getTransparencyAttenuation() const { return data().transpAtt / 400.0; }
    double getEmissionAttenuation() const { return data().emissionAtt / 65535.0; }
    CadColour getSurfaceColour() const { return CadColour(data().surfaceRGB); }
    CadColour getSpecularColour() const { return CadColour(data().specularRGB); }
    CadColour getEmissionColour() const { return CadColour(data().emissionRGB); }

    bool hasTexture() const { return (data().texture.status & 0x10) != 0; }
    // Without a texture: not mirrored, missing, scales 1, rotation 0.
    bool isTextureMirroredX() const { return hasTexture() && (data().texture.status & 0x04) != 0; }
    bool isTextureMirroredY() const { return hasTexture() && (data().texture.status & 0x08) != 0; }
    bool isTextureMissing() const { return !hasTexture() || data().texture.missingPict; }
    double getTextureScaleX() const { return hasTexture() ? data().texture.xSize : 1.0; }
    double getTextureScaleY() const { return hasTexture() ? data().texture.ySize : 1.0; }
    double getTextureRotation() const { return hasTexture() ? data().texture.rotAng : 0.0; }
    String getTextureName() const;
    // A new data file on the texture's file (the caller deletes it), or null without one.
    DataFile* getTextureFile() const;
};

Finish::Use& operator++(Finish::Use& use);
Finish::Use& operator--(Finish::Use& use);
Finish::Use operator++(Finish::Use& use, int);
Finish::Use operator--(Finish::Use& use, int);

} // namespace zelvane
