#pragma once
// Enters the host's load context for the plug-in's data and leaves it again
// when the reading ends, however it ends.

#include <cstdint>
#include <memory>

#include "host/limits.h"

namespace plugin {

class LoadContextEntry {
public:
    // Nothing is entered without a context.
    explicit LoadContextEntry(std::shared_ptr<host::ILoadContext> context) : context_(std::move(context)) {
        if (context_) cookie_ = context_->Enter("Pelmo2", "5");
    }
    ~LoadContextEntry() {
        if (context_ && cookie_ != 0) {
            try {
                context_->Leave(cookie_);
            } catch (...) {
            }
        }
    }
    LoadContextEntry(const LoadContextEntry&) = delete;
    LoadContextEntry& operator=(const LoadContextEntry&) = delete;

private:
    std::shared_ptr<host::ILoadContext> context_;
    int32_t cookie_ = 0;
};

}  // namespace plugin
