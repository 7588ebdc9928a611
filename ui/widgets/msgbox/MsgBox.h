// The framework's skinned message box: modeless, it disables its owner while shown and hands
// the answer to a callback queued on the UI thread's loop.
#pragma once

#include <functional>
#include <string>

#include "widgets/Button.h"
#include "widgets/Label.h"
#include "window/WindowImplBase.h"

namespace ui {
class RichEdit;
}

namespace ui_comp {

enum MsgBoxRet { MB_YES = 0, MB_NO = 1 };

using MsgboxCallback = std::function<void(MsgBoxRet)>;

class MsgBox : public ui::WindowImplBase {
 public:
  std::wstring GetWindowClassName() const override { return L"MsgBox"; }
  UINT GetClassStyle() const override { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }
  void Close(UINT code = IDOK) override;
  void InitWindow() override;
  std::wstring GetSkinFolder() const override { return L"msgbox"; }
  std::wstring GetSkinFile() const override { return L"msgbox.xml"; }

  // Fills the box, disables the owner and shows the box; returns at once.
  void Show(HWND owner, const MsgboxCallback& callback, const std::wstring& content,
            const std::wstring& title, const std::wstring& yes_text_id,
            const std::wstring& no_text);
  // Closes the box and queues the answer; only the first answer of a box is delivered.
  void End(MsgBoxRet answer);
  bool OnClicked(ui::EventArgs* args);

 private:
  ui::Label* title_ = nullptr;
  ui::RichEdit* content_ = nullptr;
  ui::Button* yes_ = nullptr;
  ui::Button* no_ = nullptr;
  MsgboxCallback callback_;
  bool answered_ = false;
};

void ShowMsgBox(HWND owner, const MsgboxCallback& callback, const std::wstring& content,
                const std::wstring& title, const std::wstring& yes_text_id,
                const std::wstring& no_text);

}  // namespace ui_comp
