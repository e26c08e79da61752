#pragma once
// The entries of a list or combo box shown in a Qt list or combo widget,
// written again only when they differ from what was shown last.

#include <string>
#include <vector>

#include "platform/qt/qt_text.h"
#include "platform/ui/list_control.h"

namespace plat::qt {

template <class Widget>
void ShowItems(const plat::ui::ListControl& list, Widget& widget, std::vector<std::string>& shown) {
    std::vector<std::string> items;
    items.reserve(static_cast<size_t>(list.ListCount()));
    for (int32_t i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
    if (items == shown) return;
    widget.clear();
    for (const auto& item : items) widget.addItem(ToQt(item));
    shown = std::move(items);
}

}  // namespace plat::qt
