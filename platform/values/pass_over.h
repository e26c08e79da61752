#pragma once
// "Passes over any failure and goes on with the next step": runs one step and
// swallows its failure, so that the member goes on with its next step. Use it
// around each step on its own, never around a whole member. An AbortError (a
// stalled wait, a failing test harness) is no failure of the step: it goes on
// up. A catch (...) written by hand takes a form docs/ARCHITECTURE.md lists
// ("Idioms"), most often one that begins with RethrowAbort().

#include "platform/values/abort_error.h"

namespace plat {

// True when the step ran without failing.
template <class F>
bool PassOver(F&& step) {
    try {
        step();
        return true;
    } catch (const AbortError&) {
        throw;
    } catch (...) {
        return false;
    }
}

// The step's result, or `fallback` when the step failed.
template <class F, class R>
R PassOver(F&& step, R fallback) {
    try {
        return step();
    } catch (const AbortError&) {
        throw;
    } catch (...) {
        return fallback;
    }
}

}  // namespace plat
