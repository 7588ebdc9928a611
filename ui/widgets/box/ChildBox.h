// A box whose single child is built from another skin file when the box is initialised.
#pragma once

#include "layout/Box.h"

namespace ui {

class ChildBox : public Box {
 public:
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Init() override;

  std::wstring GetChildXmlFile() const { return xml_file_; }

 private:
  std::wstring xml_file_;
  bool loaded_ = false;
};

}  // namespace ui
