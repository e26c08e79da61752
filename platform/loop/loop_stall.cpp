#include "platform/loop/loop_stall.h"

namespace plat {

LoopStall::~LoopStall() = default;

}  // namespace plat
