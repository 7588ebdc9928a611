#include "builder/WindowBuilder.h"

#include <cmath>

#include "image/ImageAttribute.h"
#include "layout/Box.h"
#include "system/DpiManager.h"
#include "system/SkinLimits.h"
#include "system/SkinLog.h"
#include "text/TextUtils.h"
#include "text/Utf8.h"
#include "window/Window.h"

namespace ui {
namespace {

bool Is(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b) == 0; }

bool IsResourceTag(const wchar_t* tag) {
  return Is(tag, L"Image") || Is(tag, L"Font") || Is(tag, L"Class") || Is(tag, L"TextColor");
}

// The attribute of `node` named `name`, or "".
std::wstring Attribute(const XmlNode& node, const wchar_t* name) {
  for (uint32_t i = 0; i < node.AttributeCount(); ++i)
    if (Is(node.AttributeName(i), name)) return node.AttributeValue(i);
  return std::wstring();
}

}  // namespace

WindowBuilder::WindowBuilder() : budget_(std::make_shared<IncludeBudget>()) {}

WindowBuilder::~WindowBuilder() = default;

bool WindowBuilder::Load(const std::wstring& source) {
  if (!source.empty() && source[0] == L'<') return xml_.LoadFromString(source.c_str());
  if (GlobalManager::IsUseZip()) {
    if (HGLOBAL block = GlobalManager::GetZipData(GlobalManager::GetResourcePath() + source)) {
      // The entry's bytes hold no terminator: convert exactly its length.
      const auto* bytes = static_cast<const char*>(GlobalLock(block));
      const std::wstring text = bytes ? Utf8BytesToWide(bytes, GlobalSize(block)) : std::wstring();
      GlobalUnlock(block);
      GlobalFree(block);
      return xml_.LoadFromString(text.c_str());
    }
  }
  return xml_.LoadFromFile(source);
}

Control* WindowBuilder::Create(const std::wstring& source, const CreateControlCallback& callback,
                               Window* window, Box* parent) {
  if (!Load(source)) return nullptr;
  if (budget_->depth > 0 && !CountInclude(source)) return nullptr;
  return Create(callback, window, parent);
}

Control* WindowBuilder::Create(const CreateControlCallback& callback, Window* window, Box* parent) {
  if (budget_->depth == 0) {
    *budget_ = IncludeBudget();
    budget_->characters = xml_.TextLength();
  }
  callback_ = callback;
  // Options selected in the skin settle their groups once, when the outermost build ends.
  OptionGroupBatch groups(window ? window->GetOptionGroups() : nullptr);
  return Build(window, parent);
}

bool WindowBuilder::CountInclude(const std::wstring& source) {
  budget_->characters += xml_.TextLength();
  if (budget_->characters <= kMaxSkinFileBytes) return true;
  budget_->exhausted = true;
  LogSkinProblem(L"Include " + source + L": the skin with its includes would hold more than " +
                 std::to_wstring(kMaxSkinFileBytes) +
                 L" characters; it and the includes after it are left out");
  return false;
}

Control* WindowBuilder::Build(Window* window, Box* parent) {
  XmlNode root = xml_.Root();
  if (!root.IsValid()) return nullptr;
  const bool is_window = Is(root.Name(), L"Window");
  const bool is_global = Is(root.Name(), L"Global");
  if (window) {
    if (is_window && window->GetHWND()) ApplyWindowAttributes(root, window);
    if (is_global) ApplyGlobalAttributes(root);
    if (is_window || is_global) RegisterResources(root, window, is_global);
  }
  bool has_control = false;
  for (XmlNode child = root.FirstChild(); child.IsValid(); child = child.NextSibling())
    has_control = has_control || !IsResourceTag(child.Name());
  if (!has_control) return nullptr;
  return WalkChildren(root, parent, window);
}

void WindowBuilder::ApplyWindowAttributes(XmlNode root, Window* window) {
  DpiManager* dpi = DpiManager::GetInstance();
  for (uint32_t i = 0; i < root.AttributeCount(); ++i) {
    const std::wstring name = root.AttributeName(i);
    const std::wstring value = root.AttributeValue(i);
    const RECT numbers = ParseRect(value);
    if (name == L"size") {
      window->SetInitSize(numbers.left, numbers.top, true);
    } else if (name == L"heightpercent") {
      const double percent = _wtof(value.c_str());
      // A fraction that is no finite positive number sizes nothing.
      if (!std::isfinite(percent) || percent <= 0) continue;
      window->SetHeightPercent(percent);
      MONITORINFO monitor = {};
      monitor.cbSize = sizeof(monitor);
      GetMonitorInfoW(MonitorFromWindow(window->GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
      const RECT padding = window->GetShadow().IsAttached() ? window->GetShadow().GetPadding()
                                                             : RECT{0, 0, 0, 0};
      const int vertical = padding.top + padding.bottom;
      const int horizontal = padding.left + padding.right;
      int height = static_cast<int>((monitor.rcWork.bottom - monitor.rcWork.top) * percent);
      const SIZE min = window->GetMinInfo(), max = window->GetMaxInfo();
      if (min.cy != 0) height = std::max<int>(height, min.cy - vertical);
      if (max.cy != 0) height = std::min<int>(height, max.cy - vertical);
      int width = window->GetInitSize().cx;
      if (width != 0) width -= horizontal;
      window->SetInitSize(width, height, false);
    } else if (name == L"sizebox") {
      window->SetSizeBox(numbers);
    } else if (name == L"caption") {
      RECT caption = numbers;
      dpi->ScaleRect(caption);
      window->SetCaptionRect(caption);
    } else if (name == L"textid") {
      window->SetText(value);
    } else if (name == L"roundcorner") {
      window->SetRoundCorner(dpi->ScaleInt(numbers.left), dpi->ScaleInt(numbers.top));
    } else if (name == L"mininfo") {
      window->SetMinInfo(numbers.left, numbers.top);
    } else if (name == L"maxinfo") {
      window->SetMaxInfo(numbers.left, numbers.top);
    } else if (name == L"shadowattached") {
      window->GetShadow().SetAttached(value == L"true");
    } else if (name == L"shadowimage") {
      window->GetShadow().SetShadowImage(value);
    } else if (name == L"shadowcorner") {
      window->GetShadow().SetShadowCorner(numbers);
    } else if (name == L"alphafixcorner" || name == L"custom_shadow") {
      RECT corner = numbers;
      dpi->ScaleRect(corner);
      window->SetAlphaFixCorner(corner);
    }
  }
}

void WindowBuilder::ApplyGlobalAttributes(XmlNode root) {
  for (uint32_t i = 0; i < root.AttributeCount(); ++i) {
    const std::wstring name = root.AttributeName(i);
    if (name == L"disabledfontcolor") GlobalManager::SetDefaultDisabledTextColor(root.AttributeValue(i));
    if (name == L"defaultfontcolor") GlobalManager::SetDefaultTextColor(root.AttributeValue(i));
  }
}

void WindowBuilder::RegisterResources(XmlNode root, Window* window, bool global) {
  for (XmlNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const wchar_t* tag = node.Name();
    if (Is(tag, L"Class")) {
      std::wstring name, list;
      for (uint32_t i = 0; i < node.AttributeCount(); ++i) {
        const std::wstring key = node.AttributeName(i);
        const std::wstring value = node.AttributeValue(i);
        if (key == L"name")
          name = value;
        else if (key == L"value")
          list += value;
        else if (key == L"_value")
          list += L" value=\"" + value + L"\"";
        else
          list += L" " + key + L"=\"" + value + L"\"";
      }
      if (name.empty()) continue;
      size_t skip = 0;
      while (skip < list.size() && (list[skip] == L' ' || list[skip] < 30)) ++skip;
      list.erase(0, skip);
      if (global)
        GlobalManager::AddClass(name, list);
      else
        window->AddClass(name, list);
    } else if (global && Is(tag, L"Font")) {
      const std::wstring face = Attribute(node, L"name");
      if (face.empty()) continue;
      const std::wstring size = Attribute(node, L"size");
      GlobalManager::AddFont(Attribute(node, L"id"), face, size.empty() ? 12 : _wtoi(size.c_str()),
                             Attribute(node, L"bold") == L"true",
                             Attribute(node, L"underline") == L"true",
                             Attribute(node, L"italic") == L"true",
                             Attribute(node, L"default") == L"true");
    } else if (global && Is(tag, L"TextColor")) {
      const std::wstring name = Attribute(node, L"name");
      if (!name.empty()) GlobalManager::AddTextColor(name, Attribute(node, L"value"));
    }
  }
}

Control* WindowBuilder::NewControl(const std::wstring& tag) {
  if (Control* control = CreateControlByClass(tag)) return control;
  if (const CreateControlCallback global = GlobalManager::GetCreateControlCallback())
    if (Control* control = global(tag)) return control;
  if (callback_) return callback_(tag);
  return nullptr;
}

Control* WindowBuilder::WalkChildren(XmlNode node, Control* parent, Window* window) {
  Control* first = nullptr;
  for (XmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
    const wchar_t* tag = child.Name();
    if (IsResourceTag(tag)) continue;
    if (Is(tag, L"Include")) {
      Include(child, parent, window);
      continue;
    }
    if (Is(tag, L"Event") || Is(tag, L"BubbledEvent")) {
      if (parent) AttachEvents(child, parent, Is(tag, L"BubbledEvent"));
      continue;
    }
    Control* control = NewControl(tag);
    if (!control) continue;
    control->SetWindow(window);
    for (uint32_t i = 0; i < child.AttributeCount(); ++i)
      control->SetAttribute(child.AttributeName(i), child.AttributeValue(i));
    if (child.FirstChild().IsValid()) WalkChildren(child, control, window);
    if (parent) {
      auto* box = dynamic_cast<Box*>(parent);
      if (!box) {
        // A control element inside a plain control ends this level; nothing owns it.
        delete control;
        return nullptr;
      }
      if (!box->Add(control)) {
        delete control;
        continue;
      }
    } else if (first) {
      // Only the first top-level control goes to the caller; the others have no owner.
      delete control;
      continue;
    }
    if (!first) first = control;
  }
  return first;
}

void WindowBuilder::Include(XmlNode node, Control* parent, Window* window) {
  const std::wstring count_text = Attribute(node, L"count");
  const int count = count_text.empty() ? 1 : static_cast<int>(wcstol(count_text.c_str(), nullptr, 10));
  std::wstring source = Attribute(node, L"source");
  if (source.size() > 499) source.resize(499);
  if (source.empty() || count <= 0) return;
  if (budget_->depth >= kMaxIncludeDepth) return;
  auto* box = dynamic_cast<Box*>(parent);
  for (int i = 0; i < count && budget_->count < kMaxIncludes && !budget_->exhausted; ++i) {
    ++budget_->count;
    WindowBuilder nested;
    nested.budget_ = budget_;
    ++budget_->depth;
    Control* top = nested.Create(source, callback_, window, box);
    --budget_->depth;
    // Without a parent box the included tree has no owner.
    if (top && !box) delete top;
  }
}

void WindowBuilder::AttachEvents(XmlNode node, Control* parent, bool bubbled) {
  auto* box = dynamic_cast<Box*>(parent);
  if (bubbled && !box) return;
  const std::wstring list = Attribute(node, L"applyattribute");
  for (const std::wstring& type_name : SplitString(Attribute(node, L"type"), L" ")) {
    const EventType type = EventNameToType(type_name);
    for (const std::wstring& receiver : SplitString(Attribute(node, L"receiver"), L" ")) {
      const EventCallback handler = parent->MakeWeakCallback(
          [parent, receiver, list](EventArgs*) { return parent->ApplyAttributeListTo(receiver, list); });
      if (bubbled)
        box->AttachXmlBubbledEvent(type, handler);
      else
        parent->AttachXmlEvent(type, handler);
    }
  }
}

}  // namespace ui
