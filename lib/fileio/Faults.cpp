#include "fileio/Faults.h"

#include "fileio/FileError.h"
#include "fileio/Internal.h"

#include <atomic>

namespace fileio {
namespace {

std::atomic<FaultHook> hook{nullptr};
// How many FaultsHeld live on the thread.
thread_local int held = 0;

} // namespace

bool setFaultHook(FaultHook fails) {
    FaultHook none = nullptr;
    return hook.compare_exchange_strong(none, fails);
}

bool takeBackFaultHook(FaultHook fails) {
    return fails != nullptr && hook.compare_exchange_strong(fails, nullptr);
}

std::error_code injectedFault(Call call, int folder, std::size_t* bytes) {
    const FaultHook fails = hook.load();
    if (fails == nullptr || held > 0) {
        return {};
    }
    const int code = fails(call, folder, bytes);
    return code == 0 ? std::error_code() : std::error_code(code, injectedCategory());
}

internal::FaultsHeld::FaultsHeld() {
    ++held;
}

internal::FaultsHeld::~FaultsHeld() {
    --held;
}

} // namespace fileio
