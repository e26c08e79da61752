#include "platform/qt/tree_view_view.h"

#include <QtGui/QIcon>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTreeWidget>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"
#include "platform/ui/keys.h"

namespace plat::qt {

namespace ui = plat::ui;

namespace {

void Walk(const std::vector<ui::TreeNode*>& nodes, std::vector<std::string>& shape) {
    for (const ui::TreeNode* n : nodes) {
        shape.push_back(n->Key() + '\n' + (n->Parent() ? n->Parent()->Key() : std::string()));
        Walk(n->Children(), shape);
    }
}

}  // namespace

QWidget* TreeViewView::Create(QWidget* parent) {
    qtree_ = new QTreeWidget(parent);
    qtree_->setHeaderHidden(true);
    qtree_->setColumnCount(1);
    qtree_->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(qtree_, &QTreeWidget::itemClicked, Context(), [this](QTreeWidgetItem* item) {
        const std::string key = KeyOf(item);
        Act([this, key] { tree_.ClickNode(key); });
    });
    auto toggle = [this](QTreeWidgetItem* item) {
        const std::string key = KeyOf(item);
        const bool expanded = item->isExpanded();
        Act([this, key, expanded] {
            // Qt has turned it already; the core turns it (and raises its event) when it differs.
            ui::TreeNode* node = tree_.Find(key);
            if (node && node->Expanded() != expanded) tree_.ToggleNode(key);
        });
    };
    QObject::connect(qtree_, &QTreeWidget::itemExpanded, Context(), toggle);
    QObject::connect(qtree_, &QTreeWidget::itemCollapsed, Context(), toggle);
    WatchFocus(qtree_);
    return qtree_;
}

bool TreeViewView::CoreHandlesKey(int32_t keyCode) const {
    return keyCode >= ui::vbKeyLeft && keyCode <= ui::vbKeyDown;
}

std::string TreeViewView::KeyOf(const QTreeWidgetItem* item) const {
    return item ? FromQt(item->data(0, Qt::UserRole).toString()) : std::string();
}

void TreeViewView::Rebuild() {
    qtree_->clear();
    items_.clear();
    auto add = [this](auto& self, const std::vector<ui::TreeNode*>& nodes, QTreeWidgetItem* parent) -> void {
        for (const ui::TreeNode* n : nodes) {
            auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(qtree_);
            item->setData(0, Qt::UserRole, ToQt(n->Key()));
            items_.insert(ToQt(n->Key()), item);
            self(self, n->Children(), item);
        }
    };
    add(add, tree_.Roots(), nullptr);
}

void TreeViewView::SyncOwn() {
    std::vector<std::string> shape;
    Walk(tree_.Roots(), shape);
    if (shape != shape_) {
        Rebuild();
        shape_ = std::move(shape);
    }
    auto sync = [this](auto& self, const std::vector<ui::TreeNode*>& nodes) -> void {
        for (const ui::TreeNode* n : nodes) {
            QTreeWidgetItem* item = items_.value(ToQt(n->Key()));
            if (!item) continue;
            const QString text = ToQt(n->Text());
            if (item->text(0) != text) item->setText(0, text);
            QFont font = item->font(0);
            if (font.bold() != n->Bold()) {
                font.setBold(n->Bold());
                item->setFont(0, font);
            }
            const QPixmap image = ImageOf(tree_.ImageListOf(), n->Image());
            item->setIcon(0, image.isNull() ? QIcon() : QIcon(image));
            if (item->isExpanded() != n->Expanded()) item->setExpanded(n->Expanded());
            self(self, n->Children());
        }
    };
    sync(sync, tree_.Roots());
    QTreeWidgetItem* selected = tree_.SelectedItem() ? items_.value(ToQt(tree_.SelectedItem()->Key())) : nullptr;
    if (qtree_->currentItem() != selected) qtree_->setCurrentItem(selected);
    if (!selected) qtree_->clearSelection();
}

}  // namespace plat::qt
