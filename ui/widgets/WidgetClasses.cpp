#include "widgets/WidgetClasses.h"

#include <functional>
#include <map>

#include "widgets/box/ChildBox.h"
#include "widgets/combo/Combo.h"
#include "widgets/box/TabBox.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/list/ListBox.h"
#include "widgets/list/ListContainerElement.h"
#include "widgets/list/TreeView.h"
#include "widgets/list/VirtualListBox.h"
#include "widgets/progress/CircleProgress.h"
#include "widgets/progress/Slider.h"

namespace ui {

Control* CreateWidgetByClass(const std::wstring& class_name) {
  static const std::map<std::wstring, std::function<Control*()>> kWidgets = {
      {L"TabBox", [] { return new TabBox(); }},
      {L"ChildBox", [] { return new ChildBox(); }},
      {L"ListBox", [] { return new ListBox(new Layout()); }},
      {L"VListBox", [] { return new ListBox(new VLayout()); }},
      {L"HListBox", [] { return new ListBox(new HLayout()); }},
      {L"TileListBox", [] { return new ListBox(new TileLayout()); }},
      {L"VirtualListBox", [] { return new VirtualListBox(); }},
      {L"TreeView", [] { return new TreeView(); }},
      {L"TreeNode", [] { return new TreeNode(); }},
      {L"ListContainerElement", [] { return new ListContainerElement(); }},
      {L"RichEdit", [] { return new RichEdit(); }},
      {L"Combo", [] { return new Combo(); }},
      {L"Progress", [] { return new Progress(); }},
      {L"CircleProgress", [] { return new CircleProgress(); }},
      {L"Slider", [] { return new Slider(); }},
  };
  auto found = kWidgets.find(class_name);
  return found == kWidgets.end() ? nullptr : found->second();
}

}  // namespace ui
