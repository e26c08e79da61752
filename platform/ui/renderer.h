#pragma once
// The seam between the headless window core and a renderer that shows its
// windows on a screen.
//
// The core is the model: every window, control and property lives there, and
// every user action (Click, TypeKey, PickItem, UserClose, ...) runs there with
// its refusals. A renderer is a view over it. It is installed per thread (the
// UI thread's) with SetRenderer; none is installed by default (headless: the
// core makes no calls at all).
//
// Contract:
//  - The core tells the installed renderer what happened, after it happened
//    and before any event handler runs for it. Each call must be cheap: note
//    what is dirty and sync it to the screen later (before the loop sleeps).
//    A call must not call back into the core's setters, user actions or the
//    message loop; it may read any state.
//  - Changed(control): something that the control shows changed, whoever
//    changed it (code, or a user action): caption, text, selection, enabled,
//    visible, position, tab index, colours, font, list entries, value,
//    container, grid cells... The renderer re-reads what it shows of the
//    control. Only controls that sit on a host are reported.
//  - HostChanged(host): a window's or embeddable control's own properties
//    changed: caption, size and position, colour, enabled, docking (the
//    parent it is docked into).
//  - ControlAdded / ControlRemoved: a control joined or left a host, at any
//    time: the window's own controls while it is constructed (before the host
//    is fully made: record them, do not call virtuals of the host), controls
//    added at run time by ProgID, and controls of an embeddable control,
//    which can be reported before that control sits in any window (when the
//    renderer first meets a host, walk its Controls()). After ControlRemoved
//    the renderer forgets the control; the pointer may dangle later.
//  - FormLoaded / FormShown / FormHidden / FormUnloaded: the window's life.
//    FormShown(modal=true) is sent before the core enters the window's modal
//    loop; FormHidden when it becomes invisible (Hide, or unload of a shown
//    window). A window loaded but never shown must show nothing.
//  - HostDestroyed: a window or embeddable control is being destroyed; its
//    controls go with it (no ControlRemoved for each). Forget all of them.
//  - FocusMoved(from, to): the focus of one window moved (either may be
//    nullptr: focus dropped, or first given).
//  - ObjectChanged(object): a control object of the platform's own (the HTML
//    view) changed what it shows.
//  - A running progress bar sends Changed about ten times a second while a
//    renderer is installed (its animation frame); headless it sends nothing.
//  - Calls come in the order things happened; a renderer must tolerate a
//    Changed for a control it has not shown yet.
// Later additions to this class come with empty default bodies.

#include "platform/ui/control.h"

namespace plat::ui {

class Form;

class Renderer {
public:
    virtual ~Renderer() = default;

    virtual void FormLoaded(Form& form) = 0;
    virtual void FormShown(Form& form, bool modal) = 0;
    virtual void FormHidden(Form& form) = 0;
    virtual void FormUnloaded(Form& form) = 0;
    virtual void HostDestroyed(ControlHost& host) = 0;

    virtual void ControlAdded(ControlHost& host, Control& control) = 0;
    virtual void ControlRemoved(ControlHost& host, Control& control) = 0;

    virtual void Changed(Control& control) = 0;
    virtual void HostChanged(ControlHost& host) = 0;
    virtual void FocusMoved(Control* from, Control* to) = 0;

    // What a control object added by ProgID shows changed (an HTML view was
    // sent to a page). The object sits in an extender the renderer was told of.
    virtual void ObjectChanged(plat::ControlObject& /*object*/) {}
};

// Installs the renderer of this thread (nullptr: headless) and returns the one
// it replaces. Not owned: uninstall it before destroying it.
Renderer* SetRenderer(Renderer* renderer);
Renderer* CurrentRenderer();

}  // namespace plat::ui
