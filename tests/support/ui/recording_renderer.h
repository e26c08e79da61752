#pragma once
// A renderer for tests: installs itself for its life and writes each call of
// the seam as one line ("changed txtName", "modal frmDialog", "focus a>b").

#include <string>
#include <vector>

#include "platform/ui/renderer.h"

namespace plat::ui::test {

class RecordingRenderer final : public Renderer {
public:
    RecordingRenderer();
    ~RecordingRenderer() override;
    RecordingRenderer(const RecordingRenderer&) = delete;
    RecordingRenderer& operator=(const RecordingRenderer&) = delete;

    void FormLoaded(Form& form) override;
    void FormShown(Form& form, bool modal) override;
    void FormHidden(Form& form) override;
    void FormUnloaded(Form& form) override;
    void HostDestroyed(ControlHost& host) override;
    void ControlAdded(ControlHost& host, Control& control) override;
    void ControlRemoved(ControlHost& host, Control& control) override;
    void Changed(Control& control) override;
    void HostChanged(ControlHost& host) override;
    void FocusMoved(Control* from, Control* to) override;
    void ObjectChanged(plat::ControlObject& object) override;

    // The lines so far; Take returns them and starts a new log.
    std::vector<std::string> log;
    std::vector<std::string> Take();
    // How many Changed calls so far.
    int changed = 0;

    // A host's name in the log: a window's name, a user control's extender name, "(free)".
    static std::string NameOf(ControlHost& host);

private:
    Renderer* previous_ = nullptr;
};

}  // namespace plat::ui::test
