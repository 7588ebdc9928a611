// The built-in control classes of the skin, by tag name.
#include <functional>
#include <map>

#include "builder/WindowBuilder.h"
#include "layout/Box.h"
#include "layout/ScrollableBox.h"
#include "widgets/Button.h"
#include "widgets/Option.h"
#include "widgets/ScrollBar.h"
#include "widgets/WidgetClasses.h"

namespace ui {

Control* WindowBuilder::CreateControlByClass(const std::wstring& class_name) {
  static const std::map<std::wstring, std::function<Control*()>> kClasses = {
      {L"Control", [] { return new Control(); }},
      {L"Label", [] { return new Label(); }},
      {L"Button", [] { return new Button(); }},
      {L"LabelBox", [] { return new LabelBox(); }},
      {L"ButtonBox", [] { return new ButtonBox(); }},
      {L"CheckBox", [] { return new CheckBox(); }},
      {L"Option", [] { return new Option(); }},
      {L"CheckBoxBox", [] { return new CheckBoxBox(); }},
      {L"OptionBox", [] { return new OptionBox(); }},
      {L"Box", [] { return new Box(); }},
      {L"HBox", [] { return new HBox(); }},
      {L"VBox", [] { return new VBox(); }},
      {L"TileBox", [] { return new TileBox(); }},
      {L"ScrollBar", [] { return new ScrollBar(); }},
  };
  auto found = kClasses.find(class_name);
  return found == kClasses.end() ? CreateWidgetByClass(class_name) : found->second();
}

}  // namespace ui
