#include "fuzz/operator/action_rate.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz_operator {

ActionRate::ActionRate() : start_(std::chrono::steady_clock::now()) {
    std::atexit([] { Instance().Print(); });
}

ActionRate& ActionRate::Instance() {
    static ActionRate* rate = new ActionRate;  // outlives the exit handlers
    return *rate;
}

void ActionRate::Print() const {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(stderr, "operator actions: %llu in %.1f s, %.0f per second\n",
                 static_cast<unsigned long long>(actions_), seconds, seconds > 0 ? actions_ / seconds : 0.0);
}

}  // namespace fuzz_operator
