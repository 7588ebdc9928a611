// The tree forms of list and item. The tree view refuses direct child operations; nodes hold
// their depth, parent node, children and expanded state.
#pragma once

#include <memory>
#include <vector>

#include "widgets/list/ListBox.h"
#include "widgets/list/ListContainerElement.h"

namespace ui {

class TreeView;

class TreeNode : public ListContainerElement {
 public:
  bool IsVisible() const override;
  void SetInternVisible(bool visible) override;
  void SetWindow(Window* window, Box* parent, bool init) override;
  using Control::SetWindow;

  // Handler of the expand toggle: flips the sending node's expanded flag.
  virtual bool OnClickItem(EventArgs* args);

  bool IsExpand() const { return expanded_; }
  int GetDepth() const { return depth_; }
  TreeView* GetTreeView() const { return tree_view_; }
  void SetTreeView(TreeView* tree_view) { tree_view_ = tree_view; }
  TreeNode* GetParentNode() const { return parent_node_; }
  const std::vector<TreeNode*>& GetChildNodes() const { return child_nodes_; }

 private:
  int depth_ = -1;
  bool expanded_ = true;
  TreeView* tree_view_ = nullptr;
  TreeNode* parent_node_ = nullptr;
  std::vector<TreeNode*> child_nodes_;
};

class TreeView : public ListBox {
 public:
  TreeView();
  ~TreeView() override;

  // The tree is not filled through the list's child operations. Adding is refused (false),
  // so that the window builder destroys a child it could not place; removal is a no-op.
  bool Add(Control* control) override;
  bool AddAt(Control* control, int index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override {}
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void SetWindow(Window* window, Box* parent, bool init) override;
  using Control::SetWindow;

  int GetIndent() const { return indent_; }
  TreeNode* GetRootNode() const { return root_node_.get(); }

 private:
  int indent_ = 0;
  std::unique_ptr<TreeNode> root_node_;
};

}  // namespace ui
