// Bindings are recycled through per-thread free lists: live bindings must never share memory, and
// a thread's lists go with it.
#include "Environment/String.h"
#include "XML/XMLTypeProxy.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace zelvane;

namespace {

// A binding well past the recycled sizes.
struct Large : XMLTypeProxy<int> {
    explicit Large(int& member) : XMLTypeProxy<int>(member, "large") {}
    char payload[400] = {};
};

void churn(std::vector<int>& values, std::vector<std::unique_ptr<Shipping>>& live) {
    for (std::size_t round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i % 3 == round) {
                live[i].reset();
            }
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (live[i] == nullptr) {
                if (i % 2 == 0) {
                    live[i].reset(new XMLTypeProxy<int>(values[i], "value"));
                } else {
                    live[i].reset(new Large(values[i]));
                }
            }
        }
    }
}

} // namespace

TEST(ShippingRecyclingTest, LiveBindingsKeepTheirOwnMemory) {
    std::vector<int> values(3000);
    std::vector<std::unique_ptr<Shipping>> live(values.size());
    churn(values, live);
    std::set<Shipping*> addresses;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_NE(live[i], nullptr);
        EXPECT_TRUE(addresses.insert(live[i].get()).second) << i;
        auto* unit = dynamic_cast<XMLTypeProxy<int>*>(live[i].get());
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->getValue(), &values[i]) << i;
        EXPECT_TRUE(unit->read(String(std::to_string(i).c_str())));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i], int(i));
    }
}

TEST(ShippingRecyclingTest, AThreadsBindingsGoWithIt) {
    std::vector<int> values(500);
    std::vector<std::unique_ptr<Shipping>> kept(values.size());
    std::thread worker([&] {
        std::vector<std::unique_ptr<Shipping>> live(values.size());
        churn(values, live);
        // Half of them outlive the thread that made them.
        for (std::size_t i = 0; i < live.size(); i += 2) {
            kept[i] = std::move(live[i]);
        }
    });
    worker.join();
    for (std::size_t i = 0; i < kept.size(); i += 2) {
        auto* unit = dynamic_cast<XMLTypeProxy<int>*>(kept[i].get());
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->getValue(), &values[i]);
    }
    kept.clear();
}
