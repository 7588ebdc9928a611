#include "widgets/box/ChildBox.h"

#include "resources/GlobalManager.h"

namespace ui {

void ChildBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"xmlfile")
    xml_file_ = value;
  else
    Box::SetAttribute(name, value);
}

void ChildBox::Init() {
  Box::Init();
  // A tree is attached to windows more than once; the content is built only the first time.
  if (xml_file_.empty() || loaded_) return;
  loaded_ = true;
  // Only a box is accepted; anything else the file builds is destroyed by the cache.
  if (Box* content = GlobalManager::CreateBoxWithCache(xml_file_, nullptr))
    Add(content);
  else
    RemoveAll();
}

}  // namespace ui
