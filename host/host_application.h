#pragma once
// The host application's program-wide objects: the application (window title,
// stop confirmation, session settings), its resources and the session object.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/values/variant.h"

namespace host {

// The host's session settings.
class IHostSettings {
public:
    virtual ~IHostSettings() = default;
    // The setting's value; "" for an unknown name. "GUI" is the user-interface
    // language name ("English" when none is stored).
    virtual plat::Variant Value(std::string_view name) const = 0;
};

class CHostApplication {
public:
    // The title of the host's window ("" when there is none).
    std::string Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Asks whether a running test sequence may stop: the host program's
    // question when it set one, else (nobody to ask) the answer set, true by default.
    bool ConfirmStop() const;
    void SetConfirmStopAnswer(bool answer) { confirmStop_ = answer; }
    // The host program's question, true to stop; an empty one asks nobody.
    // Returns the question it replaces.
    std::function<bool()> SetConfirmStopQuestion(std::function<bool()> question);

    // "GUI" is read from the registry: HKEY_LOCAL_MACHINE, the key of resource
    // text 1005, value "GUI".
    std::shared_ptr<IHostSettings> Settings() const;

private:
    std::string title_;
    bool confirmStop_ = true;
    std::function<bool()> confirmStopQuestion_;
};

// A picture of the host's resources; empty when the resource has none. A
// bitmap loaded from a library's resources keeps its resource name and its
// pixels (0xAARRGGBB, row by row from the top).
class CPicture : public plat::Object {
public:
    CPicture() = default;
    CPicture(int32_t width, int32_t height) : width_(width), height_(height) {}
    CPicture(std::string resourceName, int32_t width, int32_t height, std::vector<uint32_t> pixels)
        : width_(width), height_(height), resourceName_(std::move(resourceName)), pixels_(std::move(pixels)) {}
    bool IsEmpty() const { return width_ == 0 || height_ == 0; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    const std::string& ResourceName() const { return resourceName_; }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }
private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::string resourceName_;
    std::vector<uint32_t> pixels_;
};

class CHostResources {
public:
    // Resource texts: 1005 is the registry key path of the language setting.
    static constexpr int32_t LanguageKeyText = 1005;
    // The text of a resource id; "" for an unknown id.
    std::string Text(int32_t id) const;
    // The picture of a resource id; the host stand-in has none (an empty picture).
    std::shared_ptr<CPicture> Picture(int32_t id) const;
};

// The host session of a stand-alone program: started when its main window
// loads, ended when it unloads.
class CHostSession {
public:
    void Start() { ++starts_; running_ = true; }
    void End() { running_ = false; }
    bool Running() const { return running_; }
    int32_t Starts() const { return starts_; }
private:
    bool running_ = false;
    int32_t starts_ = 0;
};

CHostApplication& HostApplication();
CHostResources& HostResources();
CHostSession& HostSession();

}  // namespace host
