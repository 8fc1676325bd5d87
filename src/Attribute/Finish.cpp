#include "Attribute/Finish.h"

#include "Environment/DataFile.h"

#include <cstring>

namespace zelvane {

String Finish::getTextureName() const {
    const API_Texture& texture = data().texture;
    return String(texture.texName, unsigned(sizeof texture.texName));
}

DataFile* Finish::getTextureFile() const {
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
    use = use == Finish::Use::last ? Finish::Use::first : Finish::Use(UInt8(use) + 1);
    return use;
}

Finish::Use& operator--(Finish::Use& use) {
    use = use == Finish::Use::first ? Finish::Use::last : Finish::Use(UInt8(use) - 1);
    return use;
}

Finish::Use operator++(Finish::Use& use, int) {
    Finish::Use old = use;
    ++use;
    return old;
}

Finish::Use operator--(Finish::Use& use, int) {
    Finish::Use old = use;
    --use;
    return old;
}

} // namespace zelvane
