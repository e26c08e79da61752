#pragma once
// An event filter made of a function, so that a view can watch its widget's
// events without a QObject subclass of its own. Return true to consume.

#include <QtCore/QObject>

#include <functional>

namespace plat::qt {

class EventHook final : public QObject {
public:
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;
    EventHook(QObject* watched, Handler handler);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler handler_;
};

}  // namespace plat::qt
