#include "platform/qt/qt_renderer.h"

#include <QtCore/QPointer>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>

#include <algorithm>

#include "platform/loop/message_loop.h"
#include "platform/qt/control_view.h"
#include "platform/qt/form_window.h"
#include "platform/qt/key_router.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_idle_waiter.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_text_metrics.h"
#include "platform/qt/view_factory.h"
#include "platform/ui/form.h"

namespace plat::qt {

namespace ui = plat::ui;

struct QtRenderer::Window {
    ui::Form* form = nullptr;
    QPointer<FormWindow> widget;  // the top-level window
    QPointer<QWidget> panel;      // its place inside the window it is docked into
    bool modal = false;
    uint64_t shownOrder = 0;      // when code last showed it
};

namespace {

// Space between controls the window lays out itself (they have no position of their own).
constexpr int kAutoMargin = 8;

ui::UserControl* EmbeddedIn(const ui::Control& c) {
    auto* extender = dynamic_cast<const ui::ObjectControl*>(&c);
    return extender ? extender->ObjectAs<ui::UserControl>().get() : nullptr;
}

}  // namespace

QtRenderer::QtRenderer() { QtApplication::Ensure(); }

QtRenderer::~QtRenderer() {
    Uninstall();
    views_.clear();
    graveyard_.clear();
    auto close = [](Window& window) {
        for (QWidget* widget : {static_cast<QWidget*>(window.widget.data()), window.panel.data()}) {
            if (!widget) continue;
            if (auto* fw = dynamic_cast<FormWindow*>(widget)) fw->Detach();
            widget->hide();
            widget->deleteLater();
        }
    };
    for (auto& [form, window] : windows_) close(*window);
    for (auto& window : closing_) close(*window);
    QtApplication::RunDeferredDeletes();
}

void QtRenderer::Install() {
    if (!installed_) {
        previousRenderer_ = ui::SetRenderer(this);
        metrics_ = std::make_unique<QtTextMetrics>();
        previousMetrics_ = ui::SetTextMetrics(metrics_.get());
        previousMessages_ = ui::SetMessageBoxService(nullptr);
        ui::SetMessageBoxService(std::make_shared<QtMessageBoxService>(previousMessages_, [this] { Flush(); }));
        keys_ = std::make_unique<KeyRouter>(*this);
        waiter_ = std::make_shared<QtIdleWaiter>([this] { Flush(); });
        installed_ = true;
    }
    // The waiter belongs to the loop: a Reset dropped it with the old one.
    MessageLoop::Current().SetIdleWaiter(waiter_);
}

void QtRenderer::Uninstall() {
    if (!installed_) return;
    installed_ = false;
    MessageLoop::Current().SetIdleWaiter(nullptr);
    ui::SetMessageBoxService(previousMessages_);
    ui::SetTextMetrics(previousMetrics_);
    ui::SetRenderer(previousRenderer_);
    keys_.reset();
}

// --- the seam: notes only ---------------------------------------------------------------

QtRenderer::Window* QtRenderer::WindowRecord(const ui::Form* form) const {
    auto it = windows_.find(form);
    return it == windows_.end() ? nullptr : it->second.get();
}

void QtRenderer::FormLoaded(ui::Form& form) {
    auto& window = windows_[&form];
    if (!window) window = std::make_unique<Window>();
    window->form = &form;
}

void QtRenderer::FormShown(ui::Form& form, bool modal) {
    static thread_local uint64_t shows = 0;
    FormLoaded(form);
    windows_[&form]->modal = modal;
    windows_[&form]->shownOrder = ++shows;
    structureDirty_ = true;
    dirtyForms_.insert(&form);
}

void QtRenderer::FormHidden(ui::Form& form) {
    structureDirty_ = true;
    dirtyForms_.insert(&form);
}

void QtRenderer::FormUnloaded(ui::Form& form) {
    structureDirty_ = true;
    dirtyForms_.insert(&form);
}

void QtRenderer::HostDestroyed(ui::ControlHost& host) {
    // Bookkeeping only: no Qt call may run a widget's signal into a host half gone.
    std::vector<const ui::Control*> gone;
    for (auto& [control, view] : views_)
        if (control->Host() == &host) gone.push_back(control);
    for (const ui::Control* c : gone) ForgetControl(const_cast<ui::Control*>(c));
    if (auto* form = dynamic_cast<ui::Form*>(&host)) {
        // Out of the table at once: a window made later at the same address is another window.
        if (auto it = windows_.find(form); it != windows_.end()) {
            if (it->second->widget) it->second->widget->Detach();
            it->second->form = nullptr;
            closing_.push_back(std::move(it->second));
            windows_.erase(it);
        }
        dirtyForms_.erase(form);
        structureDirty_ = true;
    }
}

void QtRenderer::ControlAdded(ui::ControlHost&, ui::Control&) { structureDirty_ = true; }

void QtRenderer::ControlRemoved(ui::ControlHost&, ui::Control& control) {
    ForgetControl(&control);
    structureDirty_ = true;
}

void QtRenderer::Changed(ui::Control& control) { dirty_.insert(&control); }

void QtRenderer::HostChanged(ui::ControlHost& host) {
    if (auto* form = dynamic_cast<ui::Form*>(&host)) {
        dirtyForms_.insert(form);
    } else if (auto* uc = dynamic_cast<ui::UserControl*>(&host); uc && uc->Extender()) {
        dirty_.insert(uc->Extender());
    }
    structureDirty_ = true;  // docking may have moved it
}

void QtRenderer::FocusMoved(ui::Control*, ui::Control*) { focusDirty_ = true; }

void QtRenderer::ObjectChanged(plat::ControlObject& object) {
    for (auto& [control, view] : views_)
        if (auto* extender = dynamic_cast<const ui::ObjectControl*>(control); extender && extender->Object().get() == &object)
            dirty_.insert(const_cast<ui::Control*>(control));
}

void QtRenderer::ForgetControl(ui::Control* control) {
    dirty_.erase(control);
    if (ui::UserControl* uc = EmbeddedIn(*control))
        for (const auto& inner : uc->Controls()) ForgetControl(inner.get());
    auto it = views_.find(control);
    if (it == views_.end()) return;
    it->second->Forget();
    graveyard_.push_back(std::move(it->second));
    views_.erase(it);
}

// --- what a person did ------------------------------------------------------------------

void QtRenderer::Touch(ui::Control& control) {
    if (views_.count(&control)) dirty_.insert(&control);
    focusDirty_ = true;
    // At once: the next key of a burst must meet the widget as the core left it.
    Flush();
}

void QtRenderer::UserFocus(ui::Control& control) {
    control.UserFocus();
    focusDirty_ = true;
}

void QtRenderer::UserTab(ui::Form& form, bool forward) {
    form.PressTab(!forward);
    focusDirty_ = true;
}

// --- flush --------------------------------------------------------------------------------

ControlView* QtRenderer::ViewOf(const ui::Control* control) const {
    auto it = views_.find(control);
    return it == views_.end() ? nullptr : it->second.get();
}

QWidget* QtRenderer::WindowOf(const ui::Form& form) const {
    Window* w = WindowRecord(&form);
    return w ? w->widget.data() : nullptr;
}

QWidget* QtRenderer::WidgetOf(const ui::Control& control) const {
    ControlView* view = ViewOf(&control);
    return view ? view->Widget() : nullptr;
}

bool QtRenderer::Dirty() const {
    return structureDirty_ || !dirty_.empty() || !dirtyForms_.empty() || focusDirty_ || !closing_.empty();
}

void QtRenderer::Flush() {
    // Writing widgets may make the core change more (a bar's timer starts): a few passes at most.
    for (int pass = 0; pass < 3 && (Dirty() || (pass == 0 && !graveyard_.empty())); ++pass) {
        ++syncing_;
        struct Done {
            int& syncing;
            ~Done() { --syncing; }
        } done{syncing_};
        for (auto& view : graveyard_) view->Hide();
        for (auto& w : closing_)
            for (QWidget* widget : {static_cast<QWidget*>(w->widget.data()), w->panel.data()})
                if (widget) {
                    widget->hide();
                    widget->deleteLater();
                }
        closing_.clear();
        if (structureDirty_) {
            structureDirty_ = false;
            Reconcile();
        }
        auto dirty = std::move(dirty_);
        dirty_.clear();
        for (ui::Control* c : dirty) {
            ControlView* view = ViewOf(c);
            if (!view) continue;
            if (view->PlacedIn() != c->Container()) structureDirty_ = true;  // moved to another container
            view->Sync();
        }
        auto forms = std::move(dirtyForms_);
        dirtyForms_.clear();
        for (const ui::Form* f : forms)
            if (Window* w = WindowRecord(f); w && w->widget) w->widget->Sync();
        if (!forms.empty()) {
            // A docked window's panel follows its size and place too.
            for (const ui::Form* f : forms)
                if (Window* w = WindowRecord(f); w && w->panel && w->form && w->form->DockParent()) structureDirty_ = true;
            if (structureDirty_) {
                structureDirty_ = false;
                Reconcile();
            }
        }
        if (focusDirty_) {
            focusDirty_ = false;
            SyncFocus();
        }
    }
    Bury();
}

void QtRenderer::Reconcile() {
    placed_.clear();
    // Placing may meet docked windows and add records: walk a snapshot.
    std::vector<const ui::Form*> keys;
    for (const auto& [key, w] : windows_) keys.push_back(key);
    // Windows open in the order code showed them: a dialog shown before the
    // loop drew its owner still finds the owner's window to belong to.
    std::sort(keys.begin(), keys.end(), [this](const ui::Form* a, const ui::Form* b) {
        return windows_.at(a)->shownOrder < windows_.at(b)->shownOrder;
    });
    for (const ui::Form* key : keys) {
        Window& w = *windows_.at(key);
        ui::Form* form = w.form;
        if (!form || !form->Loaded()) {
            // Unloaded or gone: its widgets go (later: one may be delivering an event now).
            if (form)
                for (const auto& c : form->Controls()) ForgetControl(c.get());
            for (QWidget* widget : {static_cast<QWidget*>(w.widget.data()), w.panel.data()}) {
                if (!widget) continue;
                if (auto* fw = dynamic_cast<FormWindow*>(widget)) fw->Detach();
                widget->hide();
                widget->deleteLater();
            }
            w.widget = nullptr;
            w.panel = nullptr;
            if (!form) windows_.erase(key);
            continue;
        }
        const bool topLevel = form->Visible() && !form->DockParent();
        if (!form->DockParent() && w.widget) Place(*form, w.widget);  // a hidden window keeps its widgets
        if (topLevel) {
            if (!w.widget) {
                w.widget = new FormWindow(*form);
                w.widget->Sync();
                Place(*form, w.widget);
            }
            const Qt::WindowModality modality = w.modal ? Qt::ApplicationModal : Qt::NonModal;
            if (w.widget->windowModality() != modality) {
                if (w.widget->isVisible()) w.widget->hide();
                w.widget->setWindowModality(modality);
            }
            if (!w.widget->isVisible()) {
                // A modal window belongs to the window it interrupts, and opens centred over it
                // unless it has a place of its own.
                w.widget->OpenOver(w.modal ? FormWindow::Frontmost(w.widget) : nullptr,
                                   form->Left() == 0 && form->Top() == 0);
                w.widget->show();
                w.widget->activateWindow();
                focusDirty_ = true;
            }
        } else if (w.widget && w.widget->isVisible()) {
            w.widget->hide();
        }
        if (!form->DockParent() && w.panel) w.panel->hide();
    }
    // What no window shows any more (a page undocked back to a window never shown).
    std::vector<const ui::Control*> stale;
    for (const auto& [control, view] : views_)
        if (!placed_.count(control)) stale.push_back(control);
    for (const ui::Control* c : stale) ForgetControl(const_cast<ui::Control*>(c));
}

ControlView* QtRenderer::EnsureView(ui::Control& c, QWidget* parent, bool& added) {
    placed_.insert(&c);
    ControlView* view = ViewOf(&c);
    if (view && !view->Widget()) {  // its parent went away with an old window or panel
        ForgetControl(&c);
        view = nullptr;
    }
    if (!view) {
        auto made = MakeView(c, *this);
        view = made.get();
        views_[&c] = std::move(made);
        view->SetPlacedIn(c.Container());
        view->Build(parent);
        added = true;
    } else if (view->Widget()->parentWidget() != parent) {
        view->SetPlacedIn(c.Container());
        view->Widget()->setParent(parent);
        view->Sync();
        added = true;
    }
    return view;
}

void QtRenderer::Place(ui::ControlHost& host, QWidget* area) {
    bool added = false;
    // Containers first, so that whatever sits in one finds its widget.
    std::vector<ui::Control*> order;
    for (const auto& c : host.Controls())
        if (c->IsContainer()) order.push_back(c.get());
    for (const auto& c : host.Controls())
        if (!c->IsContainer()) order.push_back(c.get());
    for (ui::Control* c : order) {
        ui::UserControl* page = EmbeddedIn(*c);
        if (page && page->DockParent() && page->DockParent() != &host) continue;  // shown where it is docked
        QWidget* parent = area;
        if (ui::Control* container = c->Container())
            if (ControlView* holder = ViewOf(container); holder && holder->Widget()) parent = holder->ChildArea();
        ControlView* view = EnsureView(*c, parent, added);
        if (page) Place(*page, view->ChildArea());
    }
    // Pages and windows docked into this one show inside it.
    for (ui::ControlHost* docked : ui::AllHosts()) {
        if (docked->DockParent() != &host) continue;
        if (auto* page = dynamic_cast<ui::UserControl*>(docked)) {
            if (!page->Extender()) continue;
            ControlView* view = EnsureView(*page->Extender(), area, added);
            Place(*page, view->ChildArea());
        } else if (auto* form = dynamic_cast<ui::Form*>(docked); form && form->Loaded()) {
            FormLoaded(*form);
            Window& w = *windows_[form];
            if (!w.panel) w.panel = new QWidget(area);
            if (w.panel->parentWidget() != area) w.panel->setParent(area);
            w.panel->setGeometry(ToPixelRect(form->Left(), form->Top(), form->ScaleWidth(), form->ScaleHeight()));
            ApplyColors(*w.panel, form->BackColor(), ui::vbButtonText, true);
            w.panel->setEnabled(form->Enabled());
            Place(*form, w.panel);
            w.panel->setVisible(form->Visible());
        }
    }
    if (added) LayOut(area);
}

void QtRenderer::LayOut(QWidget* area) {
    // Controls placed without a position stack downwards at their natural size.
    int y = kAutoMargin;
    int right = 0;
    for (QObject* child : area->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        const auto it = std::find_if(views_.begin(), views_.end(),
                                     [widget](const auto& v) { return v.second->Widget() == widget; });
        if (it == views_.end()) continue;
        if (!it->second->AutoPlaced()) {
            y = std::max(y, widget->geometry().bottom() + kAutoMargin);
            continue;
        }
        if (widget->isHidden()) continue;  // a control without a face (a driver's) takes no room
        const QSize size = widget->sizeHint().expandedTo(QSize(120, 0));
        widget->setGeometry(kAutoMargin, y, size.width(), size.height());
        y += size.height() + kAutoMargin / 2;
        right = std::max(right, kAutoMargin + size.width());
    }
    // Only stacked controls grow a window: the placed ones are where its design put them.
    if (area->isWindow() && right > 0 && (area->width() < right + kAutoMargin || area->height() < y))
        area->resize(std::max(area->width(), right + kAutoMargin), std::max(area->height(), y + kAutoMargin));
}

void QtRenderer::SyncFocus() {
    for (auto& [form, w] : windows_) {
        if (!w->form || !w->widget || !w->widget->isVisible()) continue;
        ui::Control* active = w->form->ActiveControl();
        ControlView* view = ViewOf(active);
        if (!view || !view->Widget()) continue;
        QWidget* target = view->Widget()->focusProxy() ? view->Widget()->focusProxy() : view->Widget();
        QWidget* focused = w->widget->focusWidget();
        // Inside the control's own widget (a grid's editor) the focus is the control's already.
        if (focused && (focused == target || view->Widget()->isAncestorOf(focused)) && focused->hasFocus()) continue;
        target->setFocus(Qt::OtherFocusReason);
    }
}

void QtRenderer::Bury() {
    if (QtApplication::DeliveryDepth() != 0) return;
    graveyard_.clear();
    QtApplication::RunDeferredDeletes();
}

// --- pictures -------------------------------------------------------------------------------

bool QtRenderer::SavePicture(ui::Form& form, const std::string& path) {
    if (!form.Loaded()) return false;
    FormLoaded(form);
    structureDirty_ = true;
    dirtyForms_.insert(&form);
    Flush();
    Window* w = WindowRecord(&form);
    if (!w) return false;
    if (!w->widget) {
        ++syncing_;
        w->widget = new FormWindow(form);
        w->widget->Sync();
        Place(form, w->widget);
        --syncing_;
    }
    FormWindow* window = w->widget;
    const bool shown = window->isVisible();
    if (!shown) {
        // Laid out and polished as if shown, but never on a screen.
        window->setAttribute(Qt::WA_DontShowOnScreen, true);
        window->show();
    }
    QCoreApplication::sendPostedEvents();
    const QPixmap picture = window->grab();
    if (!shown) {
        window->hide();
        window->setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return !picture.isNull() && picture.save(ToQt(path), "PNG");
}

}  // namespace plat::qt
