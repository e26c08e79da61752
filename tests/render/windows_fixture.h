#pragma once
// Draws a flavour's windows into a scratch folder under the Qt renderer:
// drawing fails, and says which text on standard error, when a window cuts a text.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"

namespace render_test {

inline int DrawInScratch(const std::function<int(plat::qt::QtRenderer&, const std::filesystem::path&)>& draw) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-render-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return -1;
    plat::MessageLoop::Reset();
    int failed = 0;
    {
        plat::qt::QtRenderer renderer;
        renderer.Install();
        failed = draw(renderer, pattern);
    }
    plat::MessageLoop::Reset();
    std::error_code ec;
    std::filesystem::remove_all(pattern, ec);
    return failed;
}

}  // namespace render_test
