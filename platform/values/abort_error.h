#pragma once
// A failure that must end the whole wait or test it happens in: a wait that
// stalled under the virtual clock, a test harness that cannot go on. Every
// place that passes failures over (plat::PassOver, step runners, the driver's
// pumps, event raising) lets it through; a catch (...) that swallows failures
// calls RethrowAbort() first.

#include <stdexcept>

namespace plat {

class AbortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~AbortError() override;
};

// Inside a catch handler: rethrows the exception being handled when it is an
// AbortError, else returns.
inline void RethrowAbort() {
    try {
        throw;
    } catch (const AbortError&) {
        throw;
    } catch (...) {
    }
}

}  // namespace plat
