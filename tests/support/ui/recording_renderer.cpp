#include "tests/support/ui/recording_renderer.h"

#include "platform/ui/form.h"

namespace plat::ui::test {

RecordingRenderer::RecordingRenderer() { previous_ = SetRenderer(this); }
RecordingRenderer::~RecordingRenderer() { SetRenderer(previous_); }

std::string RecordingRenderer::NameOf(ControlHost& host) {
    if (auto* f = dynamic_cast<Form*>(&host)) return f->Name();
    if (auto* u = dynamic_cast<UserControl*>(&host)) return u->Extender() ? u->Extender()->Name() : "(free)";
    return "?";
}

std::vector<std::string> RecordingRenderer::Take() {
    auto out = std::move(log);
    log.clear();
    return out;
}

void RecordingRenderer::FormLoaded(Form& f) { log.push_back("loaded " + f.Name()); }
void RecordingRenderer::FormShown(Form& f, bool modal) { log.push_back((modal ? "modal " : "shown ") + f.Name()); }
void RecordingRenderer::FormHidden(Form& f) { log.push_back("hidden " + f.Name()); }
void RecordingRenderer::FormUnloaded(Form& f) { log.push_back("unloaded " + f.Name()); }
void RecordingRenderer::HostDestroyed(ControlHost& h) { log.push_back("destroyed " + NameOf(h)); }
void RecordingRenderer::ControlAdded(ControlHost&, Control& c) { log.push_back("added " + c.Name()); }
void RecordingRenderer::ControlRemoved(ControlHost&, Control& c) { log.push_back("removed " + c.Name()); }
void RecordingRenderer::HostChanged(ControlHost& h) { log.push_back("host " + NameOf(h)); }
void RecordingRenderer::ObjectChanged(plat::ControlObject&) { log.push_back("object"); }

void RecordingRenderer::Changed(Control& c) {
    ++changed;
    log.push_back("changed " + c.Name());
}

void RecordingRenderer::FocusMoved(Control* from, Control* to) {
    log.push_back("focus " + (from ? from->Name() : std::string("-")) + ">" + (to ? to->Name() : std::string("-")));
}

}  // namespace plat::ui::test
