#pragma once
// A wait under the virtual clock that can never end, or has not ended within
// the loop's stall limit of virtual time: the test fails with this instead of
// hanging.

#include "platform/values/abort_error.h"

namespace plat {

class LoopStall : public AbortError {
public:
    using AbortError::AbortError;
    ~LoopStall() override;
};

}  // namespace plat
