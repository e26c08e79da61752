#pragma once
// Shows the headless window core as Qt 6 Widgets windows.
//
// Each shown window is a top-level FormWindow (application-modal when shown
// modally), each control a ControlView's widget, embeddable controls a panel
// holding their own controls. What the core reports only marks things dirty
// (no Qt call); Flush applies it, and runs before the loop sleeps, so that a
// burst of changes (a 52 x 6 grid filled cell by cell) costs one pass.
//
// Install() makes the renderer this thread's: the core's renderer, the loop's
// idle waiter (our loop stays the master and sleeps in Qt's dispatcher), the
// message-box service (QMessageBox) and the text metrics. The destructor
// undoes it. The product calls neither exec() nor processEvents itself.
//
//   plat::qt::QtRenderer renderer;
//   renderer.Install();
//   mainWindow.Show(plat::ui::ShowMode::Modal);

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/ui/metrics.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/renderer.h"

class QWidget;

namespace plat::qt {

class ControlView;
class FormWindow;
class KeyRouter;
class QtIdleWaiter;
class QtTextMetrics;

class QtRenderer final : public plat::ui::Renderer {
public:
    QtRenderer();
    ~QtRenderer() override;
    QtRenderer(const QtRenderer&) = delete;
    QtRenderer& operator=(const QtRenderer&) = delete;

    // Becomes this thread's renderer, idle waiter of the current message loop,
    // message-box service and text metrics. Again after a loop Reset. One
    // renderer per thread: going away, it restores the renderer, metrics and
    // message-box service it replaced and leaves the loop without a waiter.
    void Install();
    bool Installed() const { return installed_; }

    // Applies every change noted since the last flush (the idle waiter calls it).
    void Flush();
    // True while Flush writes into widgets: widget signals then are not a person's.
    bool Syncing() const { return syncing_ > 0; }

    // The window of a form / the widget of a control, after a flush; nullptr when not shown.
    QWidget* WindowOf(const plat::ui::Form& form) const;
    QWidget* WidgetOf(const plat::ui::Control& control) const;

    // Draws the window of a loaded form into a PNG file (offscreen: the form
    // need not be shown). False when the form is not loaded or the file cannot be written.
    bool SavePicture(plat::ui::Form& form, const std::string& path);

    // For views and windows: a person's action touched the control (read it again) ...
    void Touch(plat::ui::Control& control);
    // ... a person moved the focus into the control's widget (the core decides) ...
    void UserFocus(plat::ui::Control& control);
    // ... or pressed Tab (forward) / Shift+Tab in a window.
    void UserTab(plat::ui::Form& form, bool forward);

    // The seam.
    void FormLoaded(plat::ui::Form& form) override;
    void FormShown(plat::ui::Form& form, bool modal) override;
    void FormHidden(plat::ui::Form& form) override;
    void FormUnloaded(plat::ui::Form& form) override;
    void HostDestroyed(plat::ui::ControlHost& host) override;
    void ControlAdded(plat::ui::ControlHost& host, plat::ui::Control& control) override;
    void ControlRemoved(plat::ui::ControlHost& host, plat::ui::Control& control) override;
    void Changed(plat::ui::Control& control) override;
    void HostChanged(plat::ui::ControlHost& host) override;
    void FocusMoved(plat::ui::Control* from, plat::ui::Control* to) override;
    void ObjectChanged(plat::ControlObject& object) override;

private:
    struct Window;
    void Uninstall();
    bool Dirty() const;
    void ForgetControl(plat::ui::Control* control);
    void Reconcile();
    // Builds and places the widgets of what shows in `area` for `host`: its
    // controls, its embedded pages, and pages and windows docked into it.
    void Place(plat::ui::ControlHost& host, QWidget* area);
    ControlView* EnsureView(plat::ui::Control& control, QWidget* parent, bool& added);
    void LayOut(QWidget* area);
    void SyncWindow(Window& window);
    void SyncFocus();
    void Bury();
    ControlView* ViewOf(const plat::ui::Control* control) const;
    Window* WindowRecord(const plat::ui::Form* form) const;

    std::unordered_map<const plat::ui::Form*, std::unique_ptr<Window>> windows_;
    std::vector<std::unique_ptr<Window>> closing_;  // of forms destroyed: their widgets go at the next flush
    std::unordered_map<const plat::ui::Control*, std::unique_ptr<ControlView>> views_;
    std::vector<std::unique_ptr<ControlView>> graveyard_;  // forgotten views, freed at the loop's top
    std::unordered_set<const plat::ui::Control*> placed_;  // by the running Reconcile
    std::unordered_set<plat::ui::Control*> dirty_;
    std::unordered_set<const plat::ui::Form*> dirtyForms_;
    bool structureDirty_ = false;
    bool focusDirty_ = false;
    int syncing_ = 0;
    bool installed_ = false;

    std::shared_ptr<QtIdleWaiter> waiter_;
    std::unique_ptr<KeyRouter> keys_;
    std::unique_ptr<QtTextMetrics> metrics_;
    plat::ui::Renderer* previousRenderer_ = nullptr;
    plat::ui::TextMetrics* previousMetrics_ = nullptr;
    std::shared_ptr<plat::ui::MessageBoxService> previousMessages_;
};

}  // namespace plat::qt
