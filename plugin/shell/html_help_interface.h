#pragma once
// What the test-guide window calls on the help viewer "xhhHtmlHelp"
// (ProgID "OrvikPelmo2.XHtmlHelp"), which it adds by ProgID.

#include <string>

namespace plugin {

class IHtmlHelp {
public:
    virtual ~IHtmlHelp() = default;
    // Shows the help page of that file name; true when a page was shown.
    virtual bool Initialize(const std::string& fileName) = 0;
};

}  // namespace plugin
