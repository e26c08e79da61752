#pragma once
// Whether the window system Qt is about to start answers, asked before Qt
// loads its platform plug-in: Qt meets a display that does not answer with a
// page that advises reinstalling, and an abort. Touches no Qt.
//
// The platforms asked are those Qt tries, in its order: QT_QPA_PLATFORM's
// (";" between them), else Wayland in a Wayland session (XDG_SESSION_TYPE,
// but not GNOME's, which Qt passes over) and then X11. An X display answers
// when its server accepts the connection, asked through libxcb as Qt's own
// connection is (the same display names, sockets and authority file); a
// Wayland display when its socket takes a connection. Any other platform
// (offscreen, minimal, ...) is left to Qt.

#include <string>
#include <string_view>

namespace plat::qt {

class DisplayCheck {
public:
    // "" when a platform Qt tries answers, else the one line `program` says
    // instead: the display named, the likely cause and what to do.
    static std::string Problem(std::string_view program);
};

}  // namespace plat::qt
