#include "Remap/MakeElementFrom.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Object.h"
#include "Element/Window.h"
#include "MappingFixture.h"
#include "sim/ElementTable.h"

#include <memory>
#include <string>

using namespace zelvane;
using namespace zelvane::remap;

namespace {

class MakeElementFromTest : public remap_test::MappingFixture {};

// The element's kind by name; "-" for none.
std::string kindOf(const std::shared_ptr<ComponentElem>& element) {
    if (element == nullptr) {
        return "-";
    }
    if (dynamic_cast<Lamp*>(element.get()) != nullptr) {
        return "lamp";
    }
    if (dynamic_cast<Object*>(element.get()) != nullptr) {
        return "object";
    }
    if (dynamic_cast<Door*>(element.get()) != nullptr) {
        return "door";
    }
    return dynamic_cast<Window*>(element.get()) != nullptr ? "window" : "other";
}

} // namespace

TEST_F(MakeElementFromTest, EachPartTypeMakesItsKind) {
    struct Case {
        API_LibTypeID type;
        API_ElemTypeID tool;
        const char* kind;
    } cases[] = {{APILib_WindowID, API_WindowID, "window"},
                 {APILib_DoorID, API_DoorID, "door"},
                 {APILib_ObjectID, API_ObjectID, "object"},
                 {APILib_LampID, API_LampID, "lamp"},
                 {APILib_SpecID, 0, "-"},
                 {APILib_RoomID, 0, "-"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ObjectMap::Key key(c.type, String("Source"));
        ComponentLink part = addPart("Part " + std::to_string(c.type), c.type);
        std::shared_ptr<ComponentElem> ofPart = makeElementFrom(key, part);
        EXPECT_EQ(kindOf(ofPart), c.kind);
        if (ofPart != nullptr) {
            EXPECT_EQ(ofPart->getSourceLink().getIndex(), part.getIndex());
            EXPECT_EQ(ofPart->getLink().getVariation(), 0u);
        }
        if (c.tool != 0) {
            // The tool's defaults name the part.
            API_Element defaults = sim::defaults(c.tool, 0);
            defaults.header.typeID = c.tool;
            if (c.tool == API_WindowID) {
                defaults.window.openingBase.libInd = part.getIndex();
            } else if (c.tool == API_DoorID) {
                defaults.door.openingBase.libInd = part.getIndex();
            } else if (c.tool == API_LampID) {
                defaults.lamp.libInd = part.getIndex();
            } else {
                defaults.object.libInd = part.getIndex();
            }
            sim::setDefaults(defaults);
        }
        for (bool withParameters : {false, true}) {
            std::shared_ptr<ComponentElem> ofTool = makeElementFrom(key, withParameters);
            EXPECT_EQ(kindOf(ofTool), c.kind) << withParameters;
            if (ofTool != nullptr) {
                EXPECT_EQ(ofTool->getSourceLink().getIndex(), part.getIndex()) << withParameters;
            }
        }
    }
}
