#pragma once
// A control's font: face name, size in points (fractional, 8.25 is the
// default), bold and italic. An empty name is the system's default face.

#include <string>

namespace plat::ui {

struct Font {
    std::string name;
    double size = 8.25;
    bool bold = false;
    bool italic = false;

    bool operator==(const Font&) const = default;
};

}  // namespace plat::ui
