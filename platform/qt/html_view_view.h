#pragma once
// The HTML view of help pages: a text browser showing the page the view was
// last sent to (a file path or a URL; a blank page for none), its lines
// broken between words.

#include "platform/qt/control_view.h"
#include "platform/ui/control.h"
#include "platform/ui/html_view.h"

class QTextBrowser;

namespace plat::qt {

class HtmlViewView final : public ControlView {
public:
    HtmlViewView(plat::ui::ObjectControl& extender, QtRenderer& renderer) : ControlView(extender, renderer) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    QTextBrowser* browser_ = nullptr;
    int32_t shownNavigation_ = -1;
};

}  // namespace plat::qt
