#pragma once
// A failure that must end the whole wait or test it happens in: a wait that
// stalled under the virtual clock, a test harness that cannot go on. Nothing
// that passes failures over swallows it: plat::PassOver lets it through, and a
// catch (...) that passes failures over calls RethrowAbort() first
// (docs/ARCHITECTURE.md, "Idioms").

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
