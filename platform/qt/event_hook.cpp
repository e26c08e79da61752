#include "platform/qt/event_hook.h"

namespace plat::qt {

// Parented to the watched object: it goes with it.
EventHook::EventHook(QObject* watched, Handler handler) : QObject(watched), handler_(std::move(handler)) {
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject* watched, QEvent* event) { return handler_ && handler_(watched, event); }

}  // namespace plat::qt
