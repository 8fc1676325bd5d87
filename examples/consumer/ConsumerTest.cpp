// An add-on's one test against the framework: text and identifiers through the simulated host,
// and the host's memory given back. Exit status 0 when everything holds.
#include "Environment/Guid.h"
#include "Environment/String.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <cstdio>

int main() {
    sim::reset();
    int failures = 0;
    auto check = [&failures](bool holds, const char* what) {
        if (!holds) {
            std::printf("failed: %s\n", what);
            ++failures;
        }
    };
    {
        zelvane::String text("Gr\xC3\xBC\xC3\x9F");
        text += "e";
        check(text.size() == 5 && text.dataLength() == 7, "a UTF-8 text counts characters");
        zelvane::Guid id(zelvane::String("0123ABCD-4567-89EF-FEDC-BA9876543210"));
        check(id.toString() == zelvane::String("0123ABCD-4567-89EF-FEDC-BA9876543210"),
              "a Guid reads its text");
    }
    check(sim::memoryStats().livePointers == 0, "the host's memory is given back");
    std::printf("%s\n", failures == 0 ? "consumer test passed" : "consumer test failed");
    return failures == 0 ? 0 : 1;
}
