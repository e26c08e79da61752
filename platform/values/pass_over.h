#pragma once
// "Passes over any failure and goes on with the next step": runs one step and
// swallows its failure, so that the member goes on with its next step. Use it
// around each step on its own, never around a whole member.

namespace plat {

// True when the step ran without failing.
template <class F>
bool PassOver(F&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace plat
