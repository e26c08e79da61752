#include "platform/values/abort_error.h"

namespace plat {

// Out of line: one type identity for every library that catches it.
AbortError::~AbortError() = default;

}  // namespace plat
