#include "widgets/list/TreeView.h"

#include "window/Window.h"

namespace ui {

bool TreeNode::IsVisible() const {
  if (!visible_ || !intern_visible_) return false;
  return !parent_node_ || (parent_node_->IsExpand() && parent_node_->IsVisible());
}

void TreeNode::SetInternVisible(bool visible) {
  Control::SetInternVisible(visible);
  for (Control* child : items_) child->SetInternVisible(visible_);
}

void TreeNode::SetWindow(Window* window, Box* parent, bool init) {
  for (TreeNode* child : child_nodes_) child->SetWindow(window, this, init);
  ListContainerElement::SetWindow(window, parent, init);
}

bool TreeNode::OnClickItem(EventArgs* args) {
  // Only a node can be toggled: other senders are left alone.
  auto* node = args ? dynamic_cast<TreeNode*>(args->pSender) : nullptr;
  if (!node) return true;
  node->expanded_ = !node->expanded_;
  if (node->tree_view_) node->tree_view_->Arrange();
  return true;
}

TreeView::TreeView() : ListBox(new VLayout()), root_node_(new TreeNode()) {
  root_node_->SetTreeView(this);
}

TreeView::~TreeView() = default;

bool TreeView::Add(Control*) { return false; }
bool TreeView::AddAt(Control*, int) { return false; }
bool TreeView::Remove(Control*) { return true; }
bool TreeView::RemoveAt(int) { return true; }

void TreeView::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"indent")
    indent_ = _wtoi(value.c_str());
  else
    ListBox::SetAttribute(name, value);
}

void TreeView::SetWindow(Window* window, Box* parent, bool init) {
  ListBox::SetWindow(window, parent, init);
  if (parent) root_node_->SetWindow(window, parent, init);
}

}  // namespace ui
