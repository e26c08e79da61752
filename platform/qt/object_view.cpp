#include "platform/qt/object_view.h"

#include "platform/qt/qt_convert.h"
#include "platform/ui/form.h"

namespace plat::qt {

QWidget* ObjectView::Create(QWidget* parent) { return new QWidget(parent); }

void ObjectView::SyncOwn() {
    auto* extender = static_cast<plat::ui::ObjectControl*>(Control());
    if (auto uc = extender->ObjectAs<plat::ui::UserControl>()) {
        Widget()->setEnabled(extender->Enabled() && uc->Enabled());
        ApplyColors(*Widget(), uc->BackColor(), plat::ui::vbButtonText, true);
    }
}

}  // namespace plat::qt

namespace plat::qt {

bool ObjectView::ShowsAnything() const {
    auto* extender = static_cast<plat::ui::ObjectControl*>(Control());
    return extender && extender->ObjectAs<plat::ui::UserControl>() != nullptr;
}

}  // namespace plat::qt
