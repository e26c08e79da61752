#pragma once
// The widget of one control. A view reads the control (Sync) when the
// renderer flushes what changed, and turns what a person does in the widget
// into the control's user action (Act), which the core may refuse. Writes the
// view makes into its widget while syncing never count as a person's action.

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/qt_application.h"
#include "platform/ui/control.h"

namespace plat::qt {

class QtRenderer;

class ControlView {
public:
    ControlView(plat::ui::Control& control, QtRenderer& renderer);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    // The control, or nullptr once the renderer forgot it.
    plat::ui::Control* Control() const { return control_; }
    QWidget* Widget() const { return widget_; }
    // Where controls placed inside this one go (a frame, an embeddable control).
    virtual QWidget* ChildArea() const { return widget_; }

    // Makes the widget under `parent` (once) and reads everything.
    void Build(QWidget* parent);
    // Reads what the control shows now.
    void Sync();
    // The control is gone: no more reading or acting. No Qt call: the core
    // may be telling the renderer (a host being destroyed).
    void Forget();
    // Hides the widget of a forgotten view (at the next flush).
    void Hide();

    // The container the widget was placed in (nullptr: the host's area); a
    // control moved to another container is placed again.
    const plat::ui::Control* PlacedIn() const { return placedIn_; }
    void SetPlacedIn(const plat::ui::Control* container) { placedIn_ = container; }

    // Whether the control was placed with no position and size of its own (laid out by the window).
    bool AutoPlaced() const;

protected:
    virtual QWidget* Create(QWidget* parent) = 0;
    // The kind's own properties; Sync has done the common ones.
    virtual void SyncOwn() {}
    // Whether the kind fills its back with BackColor (labels, frames, boxes).
    virtual bool FillsBackground() const { return true; }
    // Kinds that sit on a window but draw nothing (an image list, a driver's control).
    virtual bool ShowsAnything() const { return true; }
    // Keys: by default a key with a code reaches the core as KeyDown / KeyUp
    // and the widget then handles it too; a kind whose core handles a key
    // itself (a tree's arrows) consumes it here, and a kind that routes its
    // keys itself (the text box) turns the default off.
    virtual bool RoutesKeys() const { return true; }
    virtual bool CoreHandlesKey(int32_t /*keyCode*/) const { return false; }

    // Runs a person's action on the live control; afterwards the widget is
    // read again (the core may have refused or changed what it shows).
    template <class F>
    void Act(F&& action) {
        if (!control_ || Syncing()) return;
        auto keep = control_->shared_from_this();
        QtApplication::Guarded(std::forward<F>(action));
        Touch(*keep);
    }
    bool Syncing() const;
    // The owner of this view's signal connections (gone with the view).
    QObject* Context() { return context_.get(); }
    QtRenderer& Renderer() { return renderer_; }
    // Watches `widget` for a person's focus moves into it.
    void WatchFocus(QWidget* widget);
    // Filters events of `watched` for as long as this view lives.
    void Hook(QObject* watched, std::function<bool(QObject*, QEvent*)> handler);

private:
    void Touch(plat::ui::Control& control);
    bool OnKeyEvent(QEvent* event);
    plat::ui::Control* control_;
    QtRenderer& renderer_;
    QPointer<QWidget> widget_;
    std::vector<QPointer<QObject>> hooks_;
    const plat::ui::Control* placedIn_ = nullptr;
    std::unique_ptr<QObject> context_ = std::make_unique<QObject>();
};

}  // namespace plat::qt
