#include "platform/qt/key_router.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_renderer.h"

namespace plat::qt {

KeyRouter::KeyRouter(QtRenderer& renderer) : renderer_(renderer) { QtApplication::Ensure().installEventFilter(this); }

KeyRouter::~KeyRouter() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* window = dynamic_cast<FormWindow*>(static_cast<QWidget*>(watched)->window());
    if (!window || !window->Form()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    plat::ui::Form* form = window->Form();
    const bool ownKeys = watched->property("orvikOwnKeys").toBool();  // a grid's in-cell editor
    const auto mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (mods != Qt::NoModifier || ownKeys) return false;
            QtApplication::Guarded([form] { form->PressEnter(); });
            return true;
        case Qt::Key_Escape:
            if (ownKeys) return false;
            QtApplication::Guarded([form] { form->PressEscape(); });
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const bool forward = key->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier);
            // Styles draw the focus frame of buttons, boxes and the grid's current cell only in a
            // window whose focus moved by keyboard, which Qt notes only for its own Tab handling.
            window->setAttribute(Qt::WA_KeyboardFocusChange);
            QtApplication::Guarded([this, form, forward] { renderer_.UserTab(*form, forward); });
            return true;
        }
        default: return false;
    }
}

}  // namespace plat::qt
