#include "FTM/ImageTypes.hpp"

#include "sim/Sim.h"

#include <cctype>
#include <cstring>

namespace FTM {
namespace {

struct ImageType {
    GeneralID id;
    const char* mime;
    const char* extension;
};

constexpr ImageType imageTypes[] = {
    {PNGImageType, "image/png", "png"},
    {BMPImageType, "image/bmp", "bmp"},
    {JPEGImageType, "image/jpeg", "jpg"},
};

bool sameText(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

const ImageType* find(GeneralID type) {
    for (const ImageType& entry : imageTypes) {
        if (entry.id == type) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

GeneralID FindImageTypeByMime(const char* mime) {
    if (sim::enter("FTM::FindImageTypeByMime") != NoError || mime == nullptr) {
        return UnknownImageType;
    }
    for (const ImageType& entry : imageTypes) {
        if (sameText(entry.mime, mime)) {
            return entry.id;
        }
    }
    return UnknownImageType;
}

const char* GetImageTypeMime(GeneralID type) {
    const ImageType* entry = find(type);
    return entry != nullptr ? entry->mime : nullptr;
}

const char* GetImageTypeExtension(GeneralID type) {
    const ImageType* entry = find(type);
    return entry != nullptr ? entry->extension : nullptr;
}

} // namespace FTM
