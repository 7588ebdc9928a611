#include "widgets/msgbox/MsgBox.h"

#include "base/MessageLoopProxy.h"
#include "base/ThreadManager.h"
#include "layout/Box.h"
#include "resources/LanguageTable.h"
#include "widgets/edit/RichEdit.h"

namespace ui_comp {

void ShowMsgBox(HWND owner, const MsgboxCallback& callback, const std::wstring& content,
                const std::wstring& title, const std::wstring& yes_text_id,
                const std::wstring& no_text) {
  auto* box = new MsgBox();
  // The window base deletes the box at its final message, also when creation fails.
  if (!box->Create(owner, L"", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, 0, true))
    return;
  box->Show(owner, callback, content, title, yes_text_id, no_text);
}

void MsgBox::InitWindow() {
  if (ui::Box* root = GetRoot())
    root->AttachBubbledEvent(ui::kEventClick,
                             MakeWeakCallback([this](ui::EventArgs* args) { return OnClicked(args); }));
  title_ = dynamic_cast<ui::Label*>(FindControlByName(L"title"));
  content_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"content"));
  yes_ = dynamic_cast<ui::Button*>(FindControlByName(L"btn_yes"));
  no_ = dynamic_cast<ui::Button*>(FindControlByName(L"btn_no"));
}

void MsgBox::Show(HWND owner, const MsgboxCallback& callback, const std::wstring& content,
                  const std::wstring& title, const std::wstring& yes_text_id,
                  const std::wstring& no_text) {
  if (title_) title_->SetText(title);
  if (content_) {
    content_->SetText(content);
    const int height = content_->GetNaturalSize(content_->GetFixedWidth()).cy;
    if (height >= ui::kSizeAuto) content_->SetFixedHeight(height, false);
  }
  const std::wstring yes_text = ui::LanguageTable::GetInstance()->GetStringViaID(yes_text_id);
  if (yes_) {
    if (!yes_text.empty()) {
      yes_->SetText(yes_text);
      yes_->SetFadeVisible(true);
      yes_->SetFocus();
    } else {
      yes_->SetFadeVisible(false);
    }
  }
  if (no_) {
    if (!no_text.empty()) {
      no_->SetText(no_text);
      no_->SetFadeVisible(true);
      if (yes_text.empty()) no_->SetFocus();
    } else {
      no_->SetFadeVisible(false);
    }
  }
  callback_ = callback;
  EnableWindow(owner, FALSE);
  CenterWindow();
  ShowWindow(true, true);
}

bool MsgBox::OnClicked(ui::EventArgs* args) {
  const std::wstring name = args && args->pSender ? args->pSender->GetName() : L"";
  if (name == L"btn_yes")
    End(MB_YES);
  else if (name == L"btn_no" || name == L"closebtn")
    End(MB_NO);
  return true;
}

void MsgBox::Close(UINT code) {
  if (HWND owner = ::GetWindow(GetHWND(), GW_OWNER)) {
    EnableWindow(owner, TRUE);
    SetFocus(owner);
  }
  WindowImplBase::Close(code);
}

void MsgBox::End(MsgBoxRet answer) {
  if (answered_) return;
  answered_ = true;
  Close(0);
  MsgboxCallback callback;
  callback.swap(callback_);
  if (!callback) return;
  if (std::shared_ptr<base::MessageLoopProxy> ui_loop = base::ThreadManager::FindThreadProxy())
    ui_loop->PostTask([callback, answer] { callback(answer); });
}

}  // namespace ui_comp
