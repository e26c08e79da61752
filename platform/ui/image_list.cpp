#include "platform/ui/image_list.h"

#include <algorithm>

namespace plat::ui {

const ImageList::Entry* ImageList::Find(std::string_view key) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const Entry& e) { return e.key == key; });
    return it == items_.end() ? nullptr : &*it;
}

void ImageList::Add(std::string key, Picture picture) {
    if (key.empty()) throw UiError("An image of \"" + Name() + "\" needs a key");
    if (Find(key)) throw UiError("The image list \"" + Name() + "\" already holds the key \"" + key + "\"");
    if (picture.IsNone()) throw UiError("No picture to add under \"" + key + "\"");
    items_.push_back({std::move(key), std::move(picture)});
    NotifyChanged();
}

bool ImageList::Exists(std::string_view key) const { return Find(key) != nullptr; }

const Picture& ImageList::Item(std::string_view key) const {
    const Entry* e = Find(key);
    if (!e) throw UiError("The image list \"" + Name() + "\" holds no key \"" + std::string(key) + "\"");
    return e->picture;
}

void ImageList::CheckIndex(int32_t index) const {
    if (index < 1 || index > Count())
        throw UiError("The image list \"" + Name() + "\" has no image " + std::to_string(index));
}

const Picture& ImageList::Item(int32_t index) const {
    CheckIndex(index);
    return items_[index - 1].picture;
}

const std::string& ImageList::Key(int32_t index) const {
    CheckIndex(index);
    return items_[index - 1].key;
}

void ImageList::Remove(std::string_view key) {
    const Entry* e = Find(key);
    if (!e) throw UiError("The image list \"" + Name() + "\" holds no key \"" + std::string(key) + "\"");
    items_.erase(items_.begin() + (e - items_.data()));
    NotifyChanged();
}

void ImageList::Clear() {
    items_.clear();
    NotifyChanged();
}

}  // namespace plat::ui
