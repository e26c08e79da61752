#pragma once
// Counts the operator's actions over the whole fuzzing process and prints
// their rate when the process ends, in the line fuzz/run reports:
//   "operator actions: <n> in <s> s, <r> per second"

#include <chrono>
#include <cstdint>

namespace fuzz_operator {

class ActionRate {
public:
    // The process's one counter; the first call starts the clock.
    static ActionRate& Instance();
    void Count() { ++actions_; }
    void Print() const;

private:
    ActionRate();
    uint64_t actions_ = 0;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace fuzz_operator
