#include "Attribute/Finish.h"

#include "Attribute/UseSteps.h"
#include "Environment/DataFile.h"
#include "GX/GSPixMap.hpp"
#include "Interface/Image.h"

#include <cstring>
#include <utility>

namespace zelvane {

Finish::Finish(std::shared_ptr<const ModelerAPI::Material> material,
               std::shared_ptr<const ModelerAPI::Texture> texture)
    : m_material(std::move(material)), m_texture(std::move(texture)) {}

String Finish::getName() const {
    return m_material != nullptr ? String(m_material->name.c_str()) : Attribute::getName();
}

Int32 Finish::getMaterialType() const {
    return m_material != nullptr ? m_material->type : data().mtype;
}

double Finish::getAmbientReflection() const {
    return m_material != nullptr ? m_material->ambient : data().ambientPc / 100.0;
}

double Finish::getDiffuseReflection() const {
    return m_material != nullptr ? m_material->diffuse : data().diffusePc / 100.0;
}

double Finish::getSpecularReflection() const {
    return m_material != nullptr ? m_material->specular : data().specularPc / 100.0;
}

double Finish::getTransparency() const {
    return m_material != nullptr ? m_material->transparency : data().transpPc / 100.0;
}

double Finish::getShininess() const {
    return m_material != nullptr ? m_material->shining / 100.0 : data().shine / 10000.0;
}

double Finish::getTransparencyAttenuation() const {
    return m_material != nullptr ? m_material->transparencyAttenuation : data().transpAtt / 400.0;
}

double Finish::getEmissionAttenuation() const {
    return m_material != nullptr ? m_material->emissionAttenuation : data().emissionAtt / 65535.0;
}

CadColour Finish::getSurfaceColour() const {
    if (m_material != nullptr) {
        return CadColour(m_material->red, m_material->green, m_material->blue, 1.0);
    }
    return CadColour(data().surfaceRGB);
}

CadColour Finish::getSpecularColour() const {
    return m_material != nullptr ? CadColour(m_material->specularColor) : CadColour(data().specularRGB);
}

CadColour Finish::getEmissionColour() const {
    return m_material != nullptr ? CadColour(m_material->emissionColor) : CadColour(data().emissionRGB);
}

bool Finish::hasTexture() const {
    return m_material != nullptr ? m_material->textureIndex != 0 : (data().texture.status & 0x10) != 0;
}

bool Finish::isTextureMirroredX() const {
    if (!hasTexture()) {
        return false;
    }
    return m_material != nullptr ? m_texture != nullptr && m_texture->mirrorX
                                 : (data().texture.status & 0x04) != 0;
}

bool Finish::isTextureMirroredY() const {
    if (!hasTexture()) {
        return false;
    }
    return m_material != nullptr ? m_texture != nullptr && m_texture->mirrorY
                                 : (data().texture.status & 0x08) != 0;
}

bool Finish::isTextureMissing() const {
    if (!hasTexture()) {
        return true;
    }
    return m_material != nullptr ? m_texture == nullptr || !m_texture->available : data().texture.missingPict;
}

double Finish::getTextureScaleX() const {
    if (!hasTexture()) {
        return 1.0;
    }
    return m_material != nullptr ? (m_texture != nullptr ? m_texture->xSize : 1.0) : data().texture.xSize;
}

double Finish::getTextureScaleY() const {
    if (!hasTexture()) {
        return 1.0;
    }
    return m_material != nullptr ? (m_texture != nullptr ? m_texture->ySize : 1.0) : data().texture.ySize;
}

double Finish::getTextureRotation() const {
    if (!hasTexture()) {
        return 0.0;
    }
    return m_material != nullptr ? m_material->textureRotation : data().texture.rotAng;
}

String Finish::getTextureName() const {
    if (m_texture != nullptr) {
        return String(m_texture->name.c_str());
    }
    const API_Texture& texture = data().texture;
    return String(texture.texName, unsigned(sizeof texture.texName));
}

Image* Finish::getTextureImage() const {
    if (m_texture == nullptr || m_texture->width <= 0 || m_texture->height <= 0 ||
        m_texture->pixels.size() != std::size_t(m_texture->width) * std::size_t(m_texture->height)) {
        return nullptr;
    }
    GSPixMapHandle pixMap = GXCreateGSPixMap(m_texture->width, m_texture->height, 72.0, 72.0, GSPixelARGB32);
    if (pixMap == nullptr) {
        return nullptr;
    }
    std::memcpy(GXGetGSPixMapPixels(pixMap), m_texture->pixels.data(), m_texture->pixels.size() * 4);
    try {
        return new Image(pixMap);
    } catch (...) {
        GXDeleteGSPixMap(&pixMap);
        throw;
    }
}

DataFile* Finish::getTextureFile() const {
    if (m_material != nullptr) {
        return nullptr;
    }
    const API_Texture& texture = data().texture;
    const void* end = std::memchr(texture.fileLoc, 0, sizeof texture.fileLoc);
    std::size_t length = end == nullptr ? sizeof texture.fileLoc
                                        : std::size_t(static_cast<const char*>(end) - texture.fileLoc);
    if (!hasTexture() || length == 0) {
        return nullptr;
    }
    return new DataFile(String(texture.fileLoc, unsigned(length)), DataFile::readOnly, false);
}

Finish::Use& operator++(Finish::Use& use) {
    return stepUseForward(use);
}

Finish::Use& operator--(Finish::Use& use) {
    return stepUseBack(use);
}

Finish::Use operator++(Finish::Use& use, int) {
    return stepUseForwardAfter(use);
}

Finish::Use operator--(Finish::Use& use, int) {
    return stepUseBackAfter(use);
}

} // namespace zelvane
