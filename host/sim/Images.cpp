#include "sim/Images.h"

#include "sim/Sim.h"

#include <map>
#include <utility>

namespace sim {
namespace {

struct Pictures {
    std::map<Int16, std::pair<UInt32, UInt32>> images;
    std::map<Int16, std::pair<UInt32, UInt32>> icons;
};

Pictures& pictures() {
    static Pictures* instance = new Pictures;
    return *instance;
}

const bool registered = registerReset([] {
    pictures().images.clear();
    pictures().icons.clear();
});

ResourcePicture find(const std::map<Int16, std::pair<UInt32, UInt32>>& table, Int16 id) {
    auto it = table.find(id);
    return it == table.end() ? ResourcePicture{} : ResourcePicture{true, it->second.first, it->second.second};
}

} // namespace

void addResourceImage(Int16 id, UInt32 width, UInt32 height) {
    pictures().images[id] = {width, height};
}

void addResourceIcon(Int16 id, UInt32 width, UInt32 height) {
    pictures().icons[id] = {width, height};
}

ResourcePicture resourceImage(Int16 id) {
    return find(pictures().images, id);
}

ResourcePicture resourceIcon(Int16 id) {
    return find(pictures().icons, id);
}

} // namespace sim
