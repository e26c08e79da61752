#include "driver/vti_error.h"

#include <atomic>

namespace drv {

namespace {
std::atomic<int32_t> liveObjects{0};
}

LibraryObjectCount::LibraryObjectCount() { ++liveObjects; }
LibraryObjectCount::LibraryObjectCount(const LibraryObjectCount&) { ++liveObjects; }
LibraryObjectCount::~LibraryObjectCount() { --liveObjects; }
int32_t LibraryObjectCount::Live() { return liveObjects.load(); }

}  // namespace drv
