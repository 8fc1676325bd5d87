#include "Database/Model.h"
#include "ACAPI/Attributes.hpp"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Geometry/Cube.h"
#include "Interface/Image.h"
#include "sim/Attributes.h"
#include "sim/Model3D.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zelvane;

namespace {

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        Specification::startup();
        host.reset();
        model = host.getProject()->getModel();
        std::vector<ModelerAPI::Element> elements(3);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            elements[i].guid.Generate();
            elements[i].typeID = API_WallID;
            elements[i].bounds = Box3D{double(i), 0, double(i) + 1, 1, 0, 3};
        }
        ModelerAPI::Material brick{"Brick", 0.5, 0.25, 0, 0, 1};
        brick.shining = 40;
        brick.ambient = 0.3;
        ModelerAPI::Texture bricks{"brick.jpg", 2, 1, 0.25, 0.5};
        bricks.pixels = {0xFF112233u, 0xFF445566u};
        sim::setModel3D(elements, {brick, ModelerAPI::Material{"Glass", 0, 0, 1, 0.8, 4}}, {bricks});
    }
    void TearDown() override {
        host.reset();
        Specification::shutdown();
    }

    Model* model = nullptr;
};

} // namespace

TEST_F(ModelTest, WalksTheBodyModelBothWays) {
    EXPECT_EQ(model->size3D(), 3);
    std::vector<Int32> forward, backward;
    for (auto it = model->begin3D(Drawing::Filter(false)); !it.atEnd(); ++it) {
        forward.push_back(it->getIndex());
    }
    for (auto it = model->rbegin3D(Drawing::Filter(false)); !it.atEnd(); ++it) {
        backward.push_back(it->getIndex());
    }
    EXPECT_EQ(forward, (std::vector<Int32>{0, 1, 2}));
    EXPECT_EQ(backward, (std::vector<Int32>{2, 1, 0}));

    std::unique_ptr<Element3D> first(model->get3DElement(0));
    ASSERT_NE(first, nullptr);
    ModelProxy* proxy = first->getLink().getProxy();
    EXPECT_EQ(proxy->seekNext(first->getLink(), false, Drawing::Filter(false)), nullptr);
    std::unique_ptr<Element3D> last(model->get3DElement(2));
    EXPECT_EQ(proxy->seekNext(last->getLink(), true, Drawing::Filter(false)), nullptr);
    EXPECT_EQ(model->get3DElement(3), nullptr);
    std::unique_ptr<Cube> bounds(model->getBounds());
    ASSERT_NE(bounds, nullptr);
    EXPECT_EQ(bounds->getEnd().x(), 3.0);

    auto end = model->begin3D(Drawing::Filter(false));
    while (!end.atEnd()) {
        ++end;
    }
    EXPECT_THROW(++end, std::out_of_range);
}

TEST_F(ModelTest, NoSightNoModel) {
    // A model view of its own: the project's keeps the sight it took once.
    Model fresh(host.getProject());
    sim::setModel3DShown(false);
    EXPECT_EQ(fresh.size3D(), 0);
    EXPECT_TRUE(fresh.begin3D(Drawing::Filter(false)).atEnd());
    EXPECT_EQ(fresh.getBounds(), nullptr);
    sim::setModel3DShown(true);
    sim::failCall("EXPGetModel", APIERR_GENERAL);
    EXPECT_EQ(fresh.getModel(), nullptr);
    EXPECT_NE(fresh.getModel(), nullptr);    // asked again
    host.getProject()->resetActiveDrawing(); // it was the active window
}

TEST_F(ModelTest, FinishesOfTheModelAndOfTheProject) {
    Finish brick = model->getFinish(1);
    EXPECT_EQ(brick.getName(), "Brick");
    EXPECT_TRUE(brick.hasTexture());
    EXPECT_EQ(brick.getTextureName(), "brick.jpg");
    EXPECT_DOUBLE_EQ(brick.getSurfaceColour().getRed(), 0.5);
    EXPECT_DOUBLE_EQ(brick.getShininess(), 0.4);
    EXPECT_DOUBLE_EQ(brick.getAmbientReflection(), 0.3);
    EXPECT_DOUBLE_EQ(brick.getTextureScaleX(), 0.25);
    EXPECT_DOUBLE_EQ(brick.getTextureScaleY(), 0.5);
    std::unique_ptr<Image> image(brick.getTextureImage());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getBounds().getEnd().getX(), 2);
    EXPECT_EQ(image->getBounds().getEnd().getY(), 1);

    // Material 2 names texture 4, which the model lacks; material 3 is not in the model: both are
    // the project's materials of that index.
    API_Attribute material = sim::makeAttribute(API_MaterialID, "Plaster");
    short first = sim::addAttribute(material);
    material = sim::makeAttribute(API_MaterialID, "Concrete");
    short second = sim::addAttribute(material);
    ASSERT_EQ(second, 2);
    EXPECT_EQ(model->getFinish(2).getName(), "Concrete");
    EXPECT_EQ(model->getFinish(0).getName(), "");
    EXPECT_EQ(model->getFinish(attribute_index(first)).getName(), "Plaster");
    sim::failCall("ACAPI_3D_GetComponent", APIERR_GENERAL);
    EXPECT_FALSE(model->getFinish(attribute_index(first)).exists());
}
