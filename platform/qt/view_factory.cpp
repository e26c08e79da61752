#include "platform/qt/view_factory.h"

#include "platform/qt/check_box_view.h"
#include "platform/qt/combo_box_view.h"
#include "platform/qt/command_button_view.h"
#include "platform/qt/frame_view.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/html_view_view.h"
#include "platform/qt/label_view.h"
#include "platform/qt/list_box_view.h"
#include "platform/qt/object_view.h"
#include "platform/qt/option_button_view.h"
#include "platform/qt/placeholder_view.h"
#include "platform/qt/progress_bar_view.h"
#include "platform/qt/text_box_view.h"
#include "platform/qt/toolbar_view.h"
#include "platform/qt/tree_view_view.h"

namespace plat::qt {

namespace ui = plat::ui;

std::unique_ptr<ControlView> MakeView(ui::Control& c, QtRenderer& r) {
    if (auto* x = dynamic_cast<ui::CommandButton*>(&c)) return std::make_unique<CommandButtonView>(*x, r);
    if (auto* x = dynamic_cast<ui::CheckBox*>(&c)) return std::make_unique<CheckBoxView>(*x, r);
    if (auto* x = dynamic_cast<ui::OptionButton*>(&c)) return std::make_unique<OptionButtonView>(*x, r);
    if (auto* x = dynamic_cast<ui::TextBox*>(&c)) return std::make_unique<TextBoxView>(*x, r);
    if (auto* x = dynamic_cast<ui::ComboBox*>(&c)) return std::make_unique<ComboBoxView>(*x, r);
    if (auto* x = dynamic_cast<ui::ListBox*>(&c)) return std::make_unique<ListBoxView>(*x, r);
    if (auto* x = dynamic_cast<ui::Frame*>(&c)) return std::make_unique<FrameView>(*x, r);
    if (auto* x = dynamic_cast<ui::Label*>(&c)) return std::make_unique<LabelView>(*x, r);
    if (auto* x = dynamic_cast<ui::Grid*>(&c)) return std::make_unique<GridView>(*x, r);
    if (auto* x = dynamic_cast<ui::TreeView*>(&c)) return std::make_unique<TreeViewView>(*x, r);
    if (auto* x = dynamic_cast<ui::Toolbar*>(&c)) return std::make_unique<ToolbarView>(*x, r);
    if (auto* x = dynamic_cast<ui::ProgressBar*>(&c)) return std::make_unique<ProgressBarView>(*x, r);
    if (auto* x = dynamic_cast<ui::ObjectControl*>(&c)) {
        if (x->ObjectAs<ui::HtmlView>()) return std::make_unique<HtmlViewView>(*x, r);
        return std::make_unique<ObjectView>(*x, r);
    }
    return std::make_unique<PlaceholderView>(c, r);
}

}  // namespace plat::qt
