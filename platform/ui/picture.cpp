#include "platform/ui/picture.h"

#include <map>
#include <mutex>

#include "platform/ui/control.h"
#include "platform/values/text.h"

namespace plat::ui {

struct Picture::Data {
    std::string_view png;
    int32_t width = 0;
    int32_t height = 0;
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const Picture::Data>> byName;  // upper-case names
};

Registry& Resources() {
    static Registry registry;
    return registry;
}

uint32_t BigEndian(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

}  // namespace

std::string_view Picture::Png() const { return data_ ? data_->png : std::string_view(); }
int32_t Picture::Width() const { return data_ ? data_->width : 0; }
int32_t Picture::Height() const { return data_ ? data_->height : 0; }

void RegisterPictureResource(std::string_view name, const unsigned char* png, std::size_t size) {
    static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    // Signature, then the IHDR chunk: length, type, width, height.
    if (size < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), png) ||
        std::string_view(reinterpret_cast<const char*>(png) + 12, 4) != "IHDR")
        throw UiError("The picture resource \"" + std::string(name) + "\" is not a PNG image");
    auto data = std::make_shared<Picture::Data>();
    data->png = std::string_view(reinterpret_cast<const char*>(png), size);
    data->width = static_cast<int32_t>(BigEndian(png + 16));
    data->height = static_cast<int32_t>(BigEndian(png + 20));
    Registry& r = Resources();
    std::lock_guard lock(r.mutex);
    if (!r.byName.emplace(ToUpper(name), std::move(data)).second)
        throw UiError("There is already a picture resource \"" + std::string(name) + "\"");
}

bool HasPictureResource(std::string_view name) {
    Registry& r = Resources();
    std::lock_guard lock(r.mutex);
    return r.byName.count(ToUpper(name)) > 0;
}

Picture LoadResPicture(std::string_view name) {
    Registry& r = Resources();
    std::lock_guard lock(r.mutex);
    auto it = r.byName.find(ToUpper(name));
    if (it == r.byName.end()) throw UiError("There is no picture resource \"" + std::string(name) + "\"");
    Picture p;
    p.name_ = it->first;
    p.data_ = it->second;
    return p;
}

}  // namespace plat::ui
