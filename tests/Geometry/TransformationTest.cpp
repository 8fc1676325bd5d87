#include "Geometry/Transformation.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

class Drag : public Transformation {
public:
    Drag(API_Coord3D const& from, API_Coord3D const& to) : Transformation(record(from, to)) {}
    Drag* clone() const override { return new Drag(*this); }

private:
    static API_EditPars record(API_Coord3D const& from, API_Coord3D const& to) {
        API_EditPars pars{};
        pars.typeID = APIEdit_Drag;
        pars.begC = from;
        pars.endC = to;
        return pars;
    }
};

} // namespace

TEST(TransformationTest, ClonesCarryTheEditRecord) {
    Drag drag(API_Coord3D{1, 2, 3}, API_Coord3D{4, 5, 6});
    std::unique_ptr<Transformation> copy(drag.clone());
    EXPECT_EQ(copy->getEditPars().typeID, APIEdit_Drag);
    EXPECT_EQ(copy->getEditPars().endC.y, 5);
    copy->getEditPars().withDelete = true;
    EXPECT_FALSE(drag.getEditPars().withDelete);
}
