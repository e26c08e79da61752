#include "platform/ui/tree_view.h"

#include <algorithm>

#include "platform/ui/image_list.h"
#include "platform/ui/keys.h"

namespace plat::ui {

// --- TreeNode --------------------------------------------------------------------------------

void TreeNode::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    tree_.Touch();
}

void TreeNode::SetImage(std::string key) {
    if (key == image_) return;
    image_ = std::move(key);
    tree_.Touch();
}

void TreeNode::SetBold(bool on) {
    if (on == bold_) return;
    bold_ = on;
    tree_.Touch();
}

void TreeNode::SetExpanded(bool on) {
    if (on == expanded_) return;
    expanded_ = on;
    tree_.Touch();
}

// --- TreeView ---------------------------------------------------------------------------------

void TreeView::SetImageList(ImageList* list) {
    imageList_ = list;
    NotifyChanged();
}

TreeNode* TreeView::Find(std::string_view key) const {
    for (const auto& n : nodes_)
        if (n->key_ == key) return n.get();
    return nullptr;
}

TreeNode& TreeView::Node(std::string_view key) const {
    TreeNode* n = Find(key);
    if (!n) throw UiError("The tree \"" + Name() + "\" has no node \"" + std::string(key) + "\"");
    return *n;
}

TreeNode& TreeView::Add(std::string_view parentKey, std::string key, std::string text, std::string image) {
    if (key.empty()) throw UiError("A node of the tree \"" + Name() + "\" needs a key");
    if (Find(key)) throw UiError("The tree \"" + Name() + "\" already has a node \"" + key + "\"");
    TreeNode* parent = parentKey.empty() ? nullptr : &Node(parentKey);
    auto node = std::unique_ptr<TreeNode>(new TreeNode(*this));
    node->key_ = std::move(key);
    node->text_ = std::move(text);
    node->image_ = std::move(image);
    node->parent_ = parent;
    if (parent) parent->children_.push_back(node.get());
    nodes_.push_back(std::move(node));
    NotifyChanged();
    return *nodes_.back();
}

void TreeView::Remove(std::string_view key) {
    TreeNode& node = Node(key);
    std::vector<TreeNode*> doomed{&node};
    for (size_t i = 0; i < doomed.size(); ++i)
        doomed.insert(doomed.end(), doomed[i]->children_.begin(), doomed[i]->children_.end());
    if (std::find(doomed.begin(), doomed.end(), selected_) != doomed.end()) selected_ = nullptr;
    if (node.parent_) std::erase(node.parent_->children_, &node);
    std::erase_if(nodes_, [&](const std::unique_ptr<TreeNode>& n) {
        return std::find(doomed.begin(), doomed.end(), n.get()) != doomed.end();
    });
    NotifyChanged();
}

void TreeView::Clear() {
    nodes_.clear();
    selected_ = nullptr;
    NotifyChanged();
}

std::vector<TreeNode*> TreeView::Roots() const {
    std::vector<TreeNode*> roots;
    for (const auto& n : nodes_)
        if (!n->parent_) roots.push_back(n.get());
    return roots;
}

std::vector<TreeNode*> TreeView::VisibleNodes() const {
    std::vector<TreeNode*> out;
    std::function<void(TreeNode*)> walk = [&](TreeNode* n) {
        out.push_back(n);
        if (n->expanded_)
            for (TreeNode* c : n->children_) walk(c);
    };
    for (TreeNode* r : Roots()) walk(r);
    return out;
}

void TreeView::SetSelectedItem(TreeNode* node) {
    if (node && &node->tree_ != this) throw UiError("The node is not one of the tree \"" + Name() + "\"");
    if (node == selected_) return;
    selected_ = node;
    NotifyChanged();
}

void TreeView::SelectByPerson(TreeNode* node) {
    SetSelectedItem(node);
    Fire(OnNodeClick, *node);
}

void TreeView::SetExpandedByPerson(TreeNode& node, bool on) {
    if (node.children_.empty() || node.expanded_ == on) return;
    node.SetExpanded(on);
    // A selection hidden by the collapse moves to the collapsed node.
    if (!on && selected_)
        for (TreeNode* p = selected_->parent_; p; p = p->parent_)
            if (p == &node) {
                SetSelectedItem(&node);
                break;
            }
    if (on)
        Fire(OnExpand, node);
    else
        Fire(OnCollapse, node);
}

bool TreeView::ClickNode(std::string_view key) {
    TreeNode* node = Find(key);
    if (!node || !BeginUserAction(true)) return false;
    // A focus handler may have emptied the tree.
    node = Find(key);
    if (!node) return false;
    SelectByPerson(node);
    return true;
}

bool TreeView::ToggleNode(std::string_view key) {
    TreeNode* node = Find(key);
    if (!node || node->children_.empty() || !BeginUserAction(true)) return false;
    node = Find(key);
    if (!node) return false;
    SetExpandedByPerson(*node, !node->expanded_);
    return true;
}

void TreeView::KeyAction(int32_t keyCode, int32_t) {
    const std::vector<TreeNode*> visible = VisibleNodes();
    if (visible.empty()) return;
    struct ByKeyboard {
        bool& flag;
        bool was;
        explicit ByKeyboard(bool& f) : flag(f), was(f) { flag = true; }
        ~ByKeyboard() { flag = was; }
    } byKeyboard(keyboardClick_);
    auto at = std::find(visible.begin(), visible.end(), selected_);
    switch (keyCode) {
        case vbKeyUp:
            if (at == visible.end())
                SelectByPerson(visible.front());
            else if (at != visible.begin())
                SelectByPerson(*(at - 1));
            break;
        case vbKeyDown:
            if (at == visible.end())
                SelectByPerson(visible.front());
            else if (at + 1 != visible.end())
                SelectByPerson(*(at + 1));
            break;
        case vbKeyLeft:
            if (!selected_) break;
            if (selected_->expanded_ && !selected_->children_.empty())
                SetExpandedByPerson(*selected_, false);
            else if (selected_->parent_)
                SelectByPerson(selected_->parent_);
            break;
        case vbKeyRight:
            if (!selected_ || selected_->children_.empty()) break;
            if (!selected_->expanded_)
                SetExpandedByPerson(*selected_, true);
            else
                SelectByPerson(selected_->children_.front());
            break;
        default: break;
    }
}

}  // namespace plat::ui
