#include "platform/ui/renderer.h"

namespace plat::ui {

namespace {
thread_local Renderer* current = nullptr;
}

Renderer* SetRenderer(Renderer* renderer) {
    Renderer* previous = current;
    current = renderer;
    return previous;
}

Renderer* CurrentRenderer() { return current; }

}  // namespace plat::ui
