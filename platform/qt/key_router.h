#pragma once
// Keys that act on a whole window go through the core, once: Enter
// (PressEnter: the focused or default button), Esc (PressEscape: the cancel
// button) and Tab / Shift+Tab (the next control in tab order; the window then
// shows the focus frame, as after Qt's own Tab). Qt's own default-button and
// focus-chain handling never sees them.

#include <QtCore/QObject>

namespace plat::qt {

class QtRenderer;

class KeyRouter final : public QObject {
public:
    explicit KeyRouter(QtRenderer& renderer);
    ~KeyRouter() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QtRenderer& renderer_;
};

}  // namespace plat::qt
