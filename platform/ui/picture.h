#pragma once
// Pictures: PNG images kept as resources of our own libraries (compiled in by
// orvik_embed_pictures, cmake/EmbedPictures.cmake) and looked up by name, as
// window icons, pane bitmaps, and the images of image lists, trees and
// toolbars. The core only names and sizes them; a renderer decodes the PNG.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace plat::ui {

class Picture {
public:
    // No picture.
    Picture() = default;

    bool IsNone() const { return !data_; }
    // The resource name ("" for none).
    const std::string& Name() const { return name_; }
    // The PNG bytes (empty for none).
    std::string_view Png() const;
    // Size in pixels, from the PNG header (0 for none).
    int32_t Width() const;
    int32_t Height() const;

    // Two pictures are equal when they name the same resource.
    bool operator==(const Picture& other) const { return name_ == other.name_; }

    struct Data;  // the resource's bytes and size

private:
    friend Picture LoadResPicture(std::string_view name);
    std::string name_;
    std::shared_ptr<const Data> data_;
};

// The picture resource of that name (case-insensitive). UiError when there is none.
Picture LoadResPicture(std::string_view name);
bool HasPictureResource(std::string_view name);

// Makes a PNG a picture resource of this process. `png` must stay valid (a
// compiled-in array). UiError when the name is taken or the bytes are no PNG.
void RegisterPictureResource(std::string_view name, const unsigned char* png, std::size_t size);

// Registers a compiled-in picture when its library loads.
struct PictureResourceRegistrar {
    PictureResourceRegistrar(const char* name, const unsigned char* png, std::size_t size) {
        RegisterPictureResource(name, png, size);
    }
};

}  // namespace plat::ui
