#include "Database/Model.h"
#include "Database/OrthogonalProjection.h"
#include "Database/PerspectiveProjection.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Geometry/Cube.h"
#include "sim/Model3D.h"
#include "sim/Project.h"
#include "sim/Projection3D.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace zelvane;

namespace {

double dot(const Vector3& a, const Vector3& b) {
    return a.x() * b.x() + a.y() * b.y() + a.z() * b.z();
}

// Directions of every quadrant, level, climbing and falling.
const Vector3 directions[] = {
    Vector3(1, 0, 0),   Vector3(0, 1, 0),     Vector3(-3, 4, 0),       Vector3(1, 1, 1),
    Vector3(2, -1, -3), Vector3(-1, -2, 0.5), Vector3(0.3, 0.1, -0.2),
};

} // namespace

TEST(ProjectionTest, PerspectiveCameraMovesWithItsTarget) {
    PerspectiveProjection camera;
    API_3DProjectionInfo info;
    info.u_axono.projMod = 7;
    camera.getData(info);
    EXPECT_TRUE(info.isPersp);
    EXPECT_EQ(info.u_persp.distance, 0.0);
    EXPECT_EQ(info.u_axono.projMod, 0); // the record is cleared first

    camera.setCameraDirection(Vector3(3, 4, 0), true);
    EXPECT_NEAR(camera.getPars().distance, 5.0, 1e-9);
    camera.setCameraPosition(CadPoint(10, 20, 1.5));
    Vector3 direction = camera.getCameraDirection();
    EXPECT_NEAR(direction.x(), 3, 1e-9);
    EXPECT_NEAR(direction.y(), 4, 1e-9);
    EXPECT_NEAR(camera.getCameraPosition().z(), 1.5, 1e-12);

    // Without useLength the distance stays, whatever the length given.
    camera.setCameraDirection(Vector3(0, 100, 0), false);
    EXPECT_NEAR(camera.getCameraDirection().magnitude(), 5.0, 1e-9);
    EXPECT_NEAR(camera.getCameraDirection().y(), 5.0, 1e-9);
    // A zero direction changes nothing.
    camera.setCameraDirection(Vector3(0, 0, 0), true);
    EXPECT_NEAR(camera.getPars().distance, 5.0, 1e-9);
    EXPECT_NEAR(camera.getCameraDirection().y(), 5.0, 1e-9);
}

TEST(ProjectionTest, VerticalsArePerpendicularAndTheRollComesBack) {
    for (const Vector3& direction : directions) {
        PerspectiveProjection camera;
        camera.setCameraPosition(CadPoint(1, 2, 3));
        camera.setCameraDirection(direction, true);
        for (double roll : {0.0, 0.4, -1.2, 2.9}) {
            API_PerspPars pars = camera.getPars();
            pars.rollAngle = roll;
            PerspectiveProjection rolled(pars);
            Vector3 vertical = rolled.getCameraVertical();
            EXPECT_NEAR(vertical.magnitude(), 1.0, 1e-9);
            EXPECT_NEAR(dot(vertical, direction) / direction.magnitude(), 0.0, 1e-9)
                << direction.x() << "," << direction.y() << "," << direction.z() << " roll " << roll;
            PerspectiveProjection back(camera.getPars());
            back.setCameraVertical(vertical);
            EXPECT_NEAR(back.getPars().rollAngle, roll, 1e-9);
        }
        OrthogonalProjection view;
        view.setCameraDirection(direction, false);
        Vector3 seen = view.getCameraDirection();
        EXPECT_NEAR(dot(seen, direction) / (seen.magnitude() * direction.magnitude()), 1.0, 1e-9)
            << direction.x() << "," << direction.y() << "," << direction.z();
        Vector3 vertical = view.getCameraVertical();
        EXPECT_NEAR(dot(vertical, direction) / direction.magnitude(), 0.0, 1e-9);
        EXPECT_GE(vertical.z(), 0.0); // up, not down
    }
    // A view's vertical and position are its direction's.
    OrthogonalProjection view;
    view.setCameraDirection(Vector3(1, 0, 0), false);
    API_AxonoPars before = view.getPars();
    view.setCameraDirection(Vector3(), false);
    view.setCameraVertical(Vector3(0, 1, 0));
    EXPECT_EQ(std::memcmp(&before.tranmat, &view.getPars().tranmat, sizeof before.tranmat), 0);
}

TEST(ProjectionTest, ModelReadsAndWritesTheHostsProjection) {
    sim::openProject();
    host.reset();
    Model* model = host.getProject()->getModel();

    // No model to read: an orthogonal view stands at the origin.
    sim::setModel3DShown(false);
    OrthogonalProjection view;
    view.setCameraDirection(Vector3(0, 1, 0), false);
    EXPECT_EQ(view.getCameraPosition().y(), 0.0);
    sim::setModel3DShown(true);
    host.reset();
    ModelerAPI::Element box;
    box.bounds = Box3D{0, 0, 6, 8, 0, 0};
    sim::setModel3D({box});
    EXPECT_EQ(model->size3D(), 1);
    CadPoint position = view.getCameraPosition();
    EXPECT_NEAR(position.x(), 3.0, 1e-9);
    EXPECT_NEAR(position.y(), 4.0 - 5.0, 1e-9); // back by half the diagonal, along the direction

    std::shared_ptr<Projection> projection = model->getProjection();
    ASSERT_NE(projection, nullptr);
    EXPECT_NE(dynamic_cast<OrthogonalProjection*>(projection.get()), nullptr);
    PerspectiveProjection camera;
    camera.setCameraPosition(CadPoint(1, 1, 1));
    camera.setCameraDirection(Vector3(0, 2, 0), true);
    EXPECT_EQ(model->setProjection(camera), NoError);
    EXPECT_TRUE(sim::projection().isPersp);
    projection = model->getProjection();
    ASSERT_NE(dynamic_cast<PerspectiveProjection*>(projection.get()), nullptr);
    EXPECT_NEAR(projection->getCameraDirection().y(), 2.0, 1e-9);

    sim::failCall("ACAPI_Environment:GP3D", APIERR_GENERAL);
    EXPECT_EQ(model->getProjection(), nullptr);
    sim::failCall("ACAPI_Environment:CP3D", APIERR_GENERAL);
    EXPECT_EQ(model->setProjection(camera), APIERR_GENERAL);
    host.reset();
}
