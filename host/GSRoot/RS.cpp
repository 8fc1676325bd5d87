#include "GSRoot/RS.hpp"

#include "GSRoot/BM.hpp"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <cstring>

bool RSGetIndString(GS::UniString* text, short resID, short index, GSResModule module) {
    if (text != nullptr) {
        text->Clear();
    }
    if (sim::enter("RSGetIndString", resID) != NoError || text == nullptr) {
        return false;
    }
    const sim::ResourceFile* file = sim::resources(module);
    const std::string* found = file != nullptr ? file->findString(resID, index) : nullptr;
    if (found == nullptr) {
        return false;
    }
    *text = GS::UniString(found->c_str(), GS::USize(found->size()));
    return true;
}

Int32 RSGetIndStringCount(short resID, GSResModule module) {
    if (sim::enter("RSGetIndStringCount", resID) != NoError) {
        return 0;
    }
    const sim::ResourceFile* file = sim::resources(module);
    if (file == nullptr) {
        return 0;
    }
    auto it = file->strings.find(resID);
    return it == file->strings.end() ? 0 : Int32(it->second.size());
}

GSHandle RSLoadResource(GSResType type, GSResModule module, short resID) {
    if (sim::enter("RSLoadResource", type) != NoError) {
        return nullptr;
    }
    const sim::ResourceFile* file = sim::resources(module);
    const std::vector<unsigned char>* bytes = file != nullptr ? file->findData(type, resID) : nullptr;
    if (bytes == nullptr) {
        return nullptr;
    }
    GSHandle handle = BMAllocateHandle(GSSize(bytes->size()), 0, 0);
    if (handle != nullptr && !bytes->empty()) {
        std::memcpy(*handle, bytes->data(), bytes->size());
    }
    return handle;
}
