#include "Library/ParameterCells.h"
#include "Environment/String.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

// Whether the cells lie in the object itself rather than in an array of their own.
template <typename T>
bool heldInside(const ParameterCells<T>& cells) {
    auto at = reinterpret_cast<const char*>(cells.data());
    auto self = reinterpret_cast<const char*>(&cells);
    return at >= self && at < self + sizeof cells;
}

template <typename T>
std::vector<T> all(const ParameterCells<T>& cells) {
    return std::vector<T>(cells.begin(), cells.end());
}

template <typename T>
void checkGrowingAndShrinking(T a, T b, T c) {
    ParameterCells<T> cells;
    EXPECT_TRUE(cells.empty());
    cells.push_back(a);
    EXPECT_TRUE(heldInside(cells)); // one cell: no array
    EXPECT_EQ(all(cells), std::vector<T>({a}));
    cells.push_back(cells.front()); // a cell of its own, while the cells move
    cells.push_back(b);
    EXPECT_FALSE(heldInside(cells));
    EXPECT_EQ(all(cells), std::vector<T>({a, a, b}));
    EXPECT_THROW(cells.at(3), std::out_of_range);

    // A copy of one cell needs no array, even from cells that have one.
    cells.resize(1);
    ParameterCells<T> copy(cells);
    EXPECT_TRUE(heldInside(copy));
    EXPECT_TRUE(copy == cells);
    // Cut cells come back with the default value.
    cells.resize(3);
    EXPECT_EQ(all(cells), std::vector<T>({a, T(), T()}));
    cells.resize(5, c);
    EXPECT_EQ(all(cells), std::vector<T>({a, T(), T(), c, c}));

    copy = cells;
    EXPECT_TRUE(copy == cells);
    copy[4] = b;
    EXPECT_FALSE(copy == cells);
    copy.assign(1, b); // keeps its array
    EXPECT_EQ(all(copy), std::vector<T>({b}));
    copy.assign(2, copy[0]);
    EXPECT_EQ(all(copy), std::vector<T>({b, b}));
    copy.swap(cells);
    EXPECT_EQ(all(cells), std::vector<T>({b, b}));
    EXPECT_EQ(all(copy), std::vector<T>({a, T(), T(), c, c}));

    ParameterCells<T> single;
    single.resize(1, c);
    EXPECT_TRUE(heldInside(single));
    single.swap(copy);
    EXPECT_EQ(all(copy), std::vector<T>({c}));
    EXPECT_TRUE(heldInside(copy));
    EXPECT_EQ(all(single), std::vector<T>({a, T(), T(), c, c}));
    single.resize(0);
    EXPECT_TRUE(single.empty());
    single.reserve(4);
    single.push_back(b);
    EXPECT_EQ(all(single), std::vector<T>({b}));
    EXPECT_FALSE(heldInside(single)); // the room made is used
}

} // namespace

TEST(ParameterCellsTest, OneCellInsideMoreInAnArrayForEveryKind) {
    checkGrowingAndShrinking<double>(1.5, -2.0, 7.25);
    checkGrowingAndShrinking<short>(3, 4, 5);
    checkGrowingAndShrinking<int>(30, 40, 50);
    checkGrowingAndShrinking<bool>(true, false, true);
    checkGrowingAndShrinking<String>(String("oak"), String("\xC3\xA9tag\xC3\xA8re"), String("pine"));
}
