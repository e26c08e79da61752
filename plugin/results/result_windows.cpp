#include "plugin/results/result_windows.h"

namespace plugin {

namespace {
std::shared_ptr<IResultWindows>& Installed() {
    static std::shared_ptr<IResultWindows> windows;
    return windows;
}
}  // namespace

std::shared_ptr<IResultWindows> ResultWindows() { return Installed(); }
void SetResultWindows(std::shared_ptr<IResultWindows> windows) { Installed() = std::move(windows); }

}  // namespace plugin
