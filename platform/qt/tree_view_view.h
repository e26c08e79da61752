#pragma once
// A tree view: its nodes with text, bold, image (from the tree's image list)
// and expanded state, and its selection. A click on a node is the core's
// ClickNode, a click on its plus/minus ToggleNode; the arrow keys are the
// core's (KeyDown: a handler may stop them), which moves the selection and
// raises NodeClick.

#include <QtCore/QHash>

#include <string>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/ui/tree_view.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace plat::qt {

class TreeViewView final : public ControlView {
public:
    TreeViewView(plat::ui::TreeView& tree, QtRenderer& renderer) : ControlView(tree, renderer), tree_(tree) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool CoreHandlesKey(int32_t keyCode) const override;

private:
    void Rebuild();
    std::string KeyOf(const QTreeWidgetItem* item) const;
    plat::ui::TreeView& tree_;
    QTreeWidget* qtree_ = nullptr;
    std::vector<std::string> shape_;  // key and parent key of every node, in order
    QHash<QString, QTreeWidgetItem*> items_;
};

}  // namespace plat::qt
