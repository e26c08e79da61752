#pragma once
// The HTML view that help pages are shown in. It is a control object created
// by ProgID (kHtmlViewProgId) and added to a window or user control at run
// time; the library registers it when it loads. Unregistered (as a test does
// with UnregisterHtmlView), creating it fails as any unknown ProgID does, so
// a viewer's "cannot be created" road stays reachable.
//
// Headless it records where it was sent; a renderer shows the page
// (Renderer::ObjectChanged tells it that the location changed).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/com.h"

namespace plat::ui {

inline constexpr std::string_view kHtmlViewProgId = "Shell.Explorer.2";

class HtmlView : public plat::ControlObject {
public:
    // Sends the view to a page: a file path or URL. An empty location shows a blank page.
    void Navigate(std::string location);
    // Where it was last sent ("" blank).
    const std::string& LocationURL() const { return location_; }
    // How many times it was sent somewhere.
    int32_t NavigationCount() const { return navigations_; }

private:
    std::string location_;
    int32_t navigations_ = 0;
};

// Registers / unregisters the view's ProgID in this process.
void RegisterHtmlView();
void UnregisterHtmlView();

}  // namespace plat::ui
