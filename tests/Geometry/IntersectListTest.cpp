#include "Geometry/IntersectList.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zelvane;

namespace {

InterPoint* make(double x, double y, int first, int second) {
    return new InterPoint(CadPoint(x, y, 0), CadPoint::Pos(first), CadPoint::Pos(second));
}

} // namespace

TEST(InterPointTest, InterceptsFollowThePoint) {
    InterPoint p(CadPoint(1, 2, 3), CadPoint::atOrigin, CadPoint::atEnd);
    p.getIntercept(InterPoint::first).m_vertex = 4;
    p = CadPoint(7, 8, 9);
    EXPECT_TRUE(near3D(p, CadPoint(7, 8, 9)));
    EXPECT_EQ(p.getPosition(InterPoint::first), CadPoint::atOrigin);
    EXPECT_EQ(p.getIntercept(InterPoint::first).m_vertex, 4);
    p.swapIntercept();
    EXPECT_EQ(p.getPosition(InterPoint::first), CadPoint::atEnd);
    EXPECT_EQ(p.getIntercept(InterPoint::second).m_vertex, 4);
    std::unique_ptr<InterPoint> copy(p.clone());
    EXPECT_EQ(copy->getPosition(InterPoint::second), CadPoint::atOrigin);
    EXPECT_EQ(copy->getIntercept(InterPoint::second).m_vertex, 4);
}

TEST(IntersectListTest, FiltersAndStamps) {
    struct Case {
        int mask0, mask1;
        bool swapped;
        int code0, code1;
        bool accepted;
        int stored0, stored1;
    } cases[] = {
        {0x0E, 0, false, 1, 4, false, 0, 0},  {0x0E, 0, false, 0x10, 4, false, 0, 0},
        {0x0E, 0, false, 4, 1, true, 4, 1},   {0x0E, 0x0E, false, 2, 8, true, 2, 8},
        {0, 0, false, 0, 0, true, 0, 0},      {0x0C, 0, false, 2, 0, false, 0, 0},
        {0, 0, true, 2, 8, true, 8, 2},       {0x0E, 0x0E, true, 1, 4, false, 0, 0},
        {0x0E, 0x01, true, 1, 4, true, 4, 1}, {0x0E, 0x0E, true, 0, 4, false, 0, 0},
    };
    for (auto const& c : cases) {
        IntersectList list(Intercept(CadPoint::Pos(c.mask0), 5, 1), Intercept(CadPoint::Pos(c.mask1), 6, 2));
        if (c.swapped)
            list.swapSpec();
        EXPECT_EQ(list.isSwapped(), c.swapped);
        EXPECT_EQ(list.insert(make(1, 1, c.code0, c.code1)), c.accepted) << c.mask0 << " " << c.code0;
        ASSERT_EQ(list.size(), c.accepted ? 1u : 0u);
        if (!c.accepted)
            continue;
        InterPoint const* p = list.front();
        EXPECT_EQ(p->getPosition(InterPoint::first), c.stored0);
        EXPECT_EQ(p->getPosition(InterPoint::second), c.stored1);
        // The filters' vertex and contour land in the intercept of the same part, swapped or not.
        EXPECT_EQ(p->getIntercept(InterPoint::first).m_vertex, 5);
        EXPECT_EQ(p->getIntercept(InterPoint::first).m_contour, 1);
        EXPECT_EQ(p->getIntercept(InterPoint::second).m_vertex, 6);
        EXPECT_EQ(p->getIntercept(InterPoint::second).m_contour, 2);
    }

    IntersectList list;
    EXPECT_FALSE(list.isPos(InterPoint::first));
    for (int code : {0, 1, 2, 4, 8, 0x10, 0x20})
        EXPECT_TRUE(list.withPos(InterPoint::first, CadPoint::Pos(code)));
    list.addPos(InterPoint::first, CadPoint::along);
    list.addPos(InterPoint::first, CadPoint::atEnd);
    EXPECT_TRUE(list.isPos(InterPoint::first));
    EXPECT_EQ(list.getSpec(InterPoint::first).m_position, 0x0C);
    EXPECT_FALSE(list.withPos(InterPoint::first, CadPoint::atOrigin));
    EXPECT_TRUE(list.withPos(InterPoint::first, CadPoint::Pos(0x0E)));
    list.getSpec(InterPoint::second).m_contour = 3;
    list.insert(make(0, 0, 4, 0));
    EXPECT_EQ(list.front()->getIntercept(InterPoint::second).m_contour, 3);
    list.setSwapped(true);
    EXPECT_TRUE(list.isSwapped());
}

TEST(IntersectListTest, RemoveDuplicatesKeepsTheLastOfAContour) {
    IntersectList list;
    for (double z : {1.0, 2.0, 3.0}) {
        InterPoint* p = make(1, 1, 4, 4);
        p->z() = z;
        list.insert(p);
    }
    list.insert(make(1 + 1e-6, 1, 4, 4)); // same place within the tolerance
    list.insert(make(5, 5, 4, 4));
    list.removeDuplicates();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(near3D(*list.front(), CadPoint(1 + 1e-6, 1, 0)));

    IntersectList holes;
    for (int contour : {1, 2}) {
        holes.getSpec(InterPoint::first).m_contour = contour;
        holes.insert(make(1, 1, 4, 4));
    }
    holes.removeDuplicates();
    EXPECT_EQ(holes.size(), 2u);

    IntersectList wide;
    wide.insert(make(0, 0, 4, 4));
    wide.insert(make(0.004, -0.004, 4, 4));
    wide.insert(make(0.011, 0, 4, 4));
    wide.removeDuplicates(0.005); // per axis: only the first pair is equal
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_TRUE(near3D(*wide.front(), CadPoint(0.004, -0.004, 0)));
}

TEST(IntersectListTest, CopyEraseAndSort) {
    IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept());
    list.insert(make(3, 0, 4, 0));
    list.insert(make(1, 5, 4, 0));
    list.insert(make(1.000001, 2, 4, 0));
    list.insert(make(0, 9, 4, 0));
    IntersectList copy(list);
    ASSERT_EQ(copy.size(), 4u);
    EXPECT_NE(copy.front(), list.front());
    EXPECT_EQ(copy.getSpec(InterPoint::first).m_position, 0x0E);

    list.sort(ComparePosition(1e-5));
    std::vector<CadPoint> order;
    for (InterPoint const* p : list)
        order.push_back(*p);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_TRUE(near3D(order[0], CadPoint(0, 9)));
    EXPECT_TRUE(near3D(order[1], CadPoint(1.000001, 2))); // x within tolerance: by y
    EXPECT_TRUE(near3D(order[2], CadPoint(1, 5)));
    EXPECT_TRUE(near3D(order[3], CadPoint(3, 0)));

    ComparePosition before(1e-5);
    InterPoint a(CadPoint(0, 1), CadPoint::none, CadPoint::none);
    InterPoint b(CadPoint(0.000001, 0), CadPoint::none, CadPoint::none);
    EXPECT_TRUE(before(&b, &a));
    EXPECT_FALSE(before(&a, &b));
    InterPoint c(CadPoint(0.000001, 1.000001), CadPoint::none, CadPoint::none);
    EXPECT_FALSE(before(&a, &c));
    EXPECT_FALSE(before(&c, &a));
    InterPoint d(CadPoint(0.05, 2), CadPoint::none, CadPoint::none);
    EXPECT_TRUE(ComparePosition(0.1)(&a, &d)); // x within the wider tolerance: by y
    EXPECT_FALSE(ComparePosition(1e-5)(&a, &d) && ComparePosition(1e-5)(&d, &a));

    // Points equivalent under the tolerance keep their order.
    IntersectList chain;
    for (int i = 0; i < 20; ++i) {
        InterPoint* p = make(i * 0.6e-5, 0, 4, 0);
        p->z() = i;
        chain.insert(p);
    }
    // Neighbours are equivalent but the ends are not: the sort must stay in bounds and lose nothing.
    chain.sort(ComparePosition(1e-5));
    ASSERT_EQ(chain.size(), 20u);
    double zSum = 0;
    for (InterPoint const* p : chain)
        zSum += p->z();
    EXPECT_EQ(zSum, 190.0);

    auto it = copy.erase(copy.begin());
    EXPECT_TRUE(near3D(**it, CadPoint(1, 5)));
    copy = list;
    EXPECT_EQ(copy.size(), 4u);
    copy.clear();
    EXPECT_TRUE(copy.empty());
}
