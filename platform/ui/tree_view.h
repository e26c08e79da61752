#pragma once
// A tree view: nodes with a unique key, a parent, a text, an image key (into
// the tree's image list), bold and expanded flags. A person clicks a node,
// expands or collapses it, and moves the selection with the arrow keys; both
// a click and an arrow-key move raise NodeClick, as the windows expect. No
// check-box mode: a ticked state is shown by the node's image.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"

namespace plat::ui {

class ImageList;
class TreeView;

// A node of a tree view. Its setters tell the tree's renderer.
class TreeNode {
public:
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    // Key of its image in the tree's image list ("" none).
    const std::string& Image() const { return image_; }
    void SetImage(std::string key);
    bool Bold() const { return bold_; }
    void SetBold(bool on);
    // Program side: no Expand or Collapse event.
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool on);
    TreeNode* Parent() const { return parent_; }
    const std::vector<TreeNode*>& Children() const { return children_; }
    TreeView& Tree() const { return tree_; }

private:
    friend class TreeView;
    explicit TreeNode(TreeView& tree) : tree_(tree) {}
    TreeView& tree_;
    std::string key_;
    std::string text_;
    std::string image_;
    bool bold_ = false;
    bool expanded_ = false;
    TreeNode* parent_ = nullptr;
    std::vector<TreeNode*> children_;
};

class TreeView : public Control {
public:
    bool CanTakeFocus() const override { return true; }

    // The image list its nodes' image keys name (not owned; nullptr none).
    ImageList* ImageListOf() const { return imageList_; }
    void SetImageList(ImageList* list);

    // Adds a node under `parentKey` ("" for a root node), last among its
    // siblings. UiError when the key is empty or taken, or no node has `parentKey`.
    TreeNode& Add(std::string_view parentKey, std::string key, std::string text, std::string image = {});
    // Removes the node and its subtree; a selection inside it is cleared.
    void Remove(std::string_view key);
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(nodes_.size()); }
    // The node of that key, or nullptr / UiError.
    TreeNode* Find(std::string_view key) const;
    TreeNode& Node(std::string_view key) const;
    // Root nodes in order.
    std::vector<TreeNode*> Roots() const;
    // The nodes a person sees: roots and the children of expanded nodes, top to bottom.
    std::vector<TreeNode*> VisibleNodes() const;

    // The selected node (nullptr none). Program side: selects without events
    // (nullptr clears). UiError for a node of another tree.
    TreeNode* SelectedItem() const { return selected_; }
    void SetSelectedItem(TreeNode* node);

    // User actions. ClickNode selects the node and raises NodeClick (even when
    // it was selected already). ToggleNode is a click on the node's plus/minus:
    // it collapses or expands the node and raises Collapse or Expand. False
    // when refused or there is no such node (or, for ToggleNode, it has no children).
    bool ClickNode(std::string_view key);
    bool ToggleNode(std::string_view key);
    // Whether the NodeClick being raised comes from an arrow key rather than
    // a click, so that a handler can act on clicks only.
    bool NodeClickByKeyboard() const { return keyboardClick_; }

    std::function<void(TreeNode& node)> OnNodeClick;
    std::function<void(TreeNode& node)> OnCollapse;
    std::function<void(TreeNode& node)> OnExpand;

protected:
    // Up and Down move the selection among the visible nodes, Left collapses
    // (or goes to the parent), Right expands (or goes to the first child);
    // a moved selection raises NodeClick.
    void KeyAction(int32_t keyCode, int32_t shift) override;

private:
    friend class TreeNode;
    void Touch() { NotifyChanged(); }
    void SelectByPerson(TreeNode* node);
    void SetExpandedByPerson(TreeNode& node, bool on);
    std::vector<std::unique_ptr<TreeNode>> nodes_;
    TreeNode* selected_ = nullptr;
    ImageList* imageList_ = nullptr;
    bool keyboardClick_ = false;
};

}  // namespace plat::ui
