#include "platform/ui/html_view.h"

#include "platform/ui/renderer.h"

namespace plat::ui {

void HtmlView::Navigate(std::string location) {
    location_ = std::move(location);
    ++navigations_;
    if (Renderer* r = CurrentRenderer()) r->ObjectChanged(*this);
}

void RegisterHtmlView() {
    plat::RegisterClass(kHtmlViewProgId, [] { return std::make_shared<HtmlView>(); });
}

void UnregisterHtmlView() { plat::UnregisterClass(kHtmlViewProgId); }

namespace {

// Registered as the library loads, as a system control is always there.
const bool registered = (RegisterHtmlView(), true);

}  // namespace

}  // namespace plat::ui
