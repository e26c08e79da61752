#pragma once
// An image list: pictures by key (and by 1-based index, in the order added),
// which trees and toolbars name by key. It sits on a window but shows nothing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/picture.h"

namespace plat::ui {

class ImageList : public Control {
public:
    // UiError when the key is empty or taken (keys compare case-sensitively,
    // as image keys do), or the picture is none.
    void Add(std::string key, Picture picture);
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    bool Exists(std::string_view key) const;
    // UiError when there is no such key / index.
    const Picture& Item(std::string_view key) const;
    const Picture& Item(int32_t index) const;
    const std::string& Key(int32_t index) const;
    void Remove(std::string_view key);
    void Clear();

private:
    struct Entry {
        std::string key;
        Picture picture;
    };
    const Entry* Find(std::string_view key) const;
    void CheckIndex(int32_t index) const;
    std::vector<Entry> items_;
};

}  // namespace plat::ui
