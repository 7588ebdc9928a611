#include "form/ControlForm.h"

#include "widgets/combo/Combo.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/list/ListBox.h"
#include "widgets/list/ListContainerElement.h"
#include "widgets/msgbox/MsgBox.h"
#include "form/SaveAndNotify.h"

const wchar_t kSettingsWindowName[] = L"UIMainFrame";

namespace {

constexpr int kItemHeight = 22;
// Posted after the first visible frame; WM_APP + 1 and + 2 are the framework's.
constexpr UINT kFirstFrameShownMessage = ui::kLayeredPaintMessage + 1;

const wchar_t* const kComboNames[] = {L"ComboMicDev",        L"ComboRecoEngine",   L"ComboInputLanguage",
                                      L"ComboAccent",        L"ComboTranslateSrc", L"ComboTranslateDst"};
const wchar_t* const kTickNames[] = {L"OptAppendEnter", L"OptPTT", L"OptTranslate"};

template <typename T>
T* Find(ui::Window* window, const wchar_t* name) {
  return dynamic_cast<T*>(window->FindControlByName(name));
}

}  // namespace

ControlForm::ControlForm() = default;
ControlForm::~ControlForm() = default;

void ControlForm::InitWindow() {
  for (size_t i = 0; i < combos_.size(); ++i) combos_[i] = Find<ui::Combo>(this, kComboNames[i]);
  for (size_t i = 0; i < ticks_.size(); ++i) ticks_[i] = Find<ui::CheckBox>(this, kTickNames[i]);
  noise_ = Find<ui::RichEdit>(this, L"EditEnvNoise");
  noise_up_ = Find<ui::Button>(this, L"ButtonEnvNoiseUp");
  noise_down_ = Find<ui::Button>(this, L"ButtonEnvNoiseDown");
  ok_ = Find<ui::Button>(this, L"BtnOK");
  cancel_ = Find<ui::Button>(this, L"BtnCancel");

  choices_ = std::make_unique<SettingsChoices>();
  if (ui::Combo* mics = combos_[static_cast<size_t>(Choice::kMicDev)]) mics->SetInternVisible(true);
  for (Choice choice : {Choice::kMicDev, Choice::kRecoEngine, Choice::kInputLanguage}) ShowList(choice);
  ShowTranslation();
  if (noise_) {
    noise_->SetEnabled(false);
    noise_->SetText(L"0");
  }
  ShowTick(Tick::kAppendEnter);
  ShowTick(Tick::kPtt);

  // Bound last, so that filling the controls fires nothing.
  ui::Box* root = GetRoot();
  root->AttachBubbledEvent(ui::kEventClick, MakeWeakCallback([this](ui::EventArgs* args) { return OnClick(args); }));
  for (int type : {ui::kEventSelect, ui::kEventUnSelect}) {
    root->AttachBubbledEvent(type, MakeWeakCallback([this](ui::EventArgs* args) { return OnSelect(args); }));
  }
}

LRESULT ControlForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kFirstFrameShownMessage) {
    ShowUnreadableSettingsNotice();
    return 0;
  }
  return WindowImplBase::HandleMessage(message, wparam, lparam);
}

void ControlForm::OnFirstVisibleFrame() { PostMessageW(GetHWND(), kFirstFrameShownMessage, 0, 0); }

void ControlForm::ShowUnreadableSettingsNotice() {
  if (choices_->settings_unreadable()) ShowWarning(L"原有设置无法读取，现显示默认设置；保存时会先另存原有设置");
}

LRESULT ControlForm::OnClose(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  PostQuitMessage(0);
  return WindowImplBase::OnClose(message, wparam, lparam, handled);
}

void ControlForm::ShowList(Choice choice) {
  ui::Combo* combo = combos_[static_cast<size_t>(choice)];
  if (!combo) return;
  const ChoiceList& list = choices_->list(choice);
  combo->RemoveAll();
  for (const ChoiceItem& item : list.items) {
    auto* element = new ui::ListContainerElement;
    element->SetClass(L"default_class_list");
    element->SetFixedHeight(kItemHeight);
    element->SetText(item.text);
    element->SetUserDataBase(new CUserAttribute(item.attributes));
    combo->Add(element);
  }
  if (list.current >= 0) combo->SelectItem(list.current);
  combo->SetEnabled(list.enabled);
  combo->Invalidate();
}

void ControlForm::ShowTick(Tick tick) {
  if (ui::CheckBox* box = ticks_[static_cast<size_t>(tick)]) box->Selected(choices_->ticked(tick), false);
}

void ControlForm::ShowTranslation() {
  for (Choice choice : {Choice::kAccent, Choice::kTranslateSrc, Choice::kTranslateDst}) ShowList(choice);
  ShowTick(Tick::kTranslate);
}

void ControlForm::Warn(const std::wstring& warning) {
  if (warning.empty()) return;
  ShowTick(Tick::kTranslate);
  ShowWarning(warning);
}

bool ControlForm::OnClick(ui::EventArgs* args) {
  ui::Control* sender = args->pSender;
  if (sender == ok_) {
    if (!SaveSettingsAndNotifyKelvane(GetHWND(), choices_->settings())) return false;
    PostQuitMessage(0);
  } else if (sender == cancel_) {
    PostQuitMessage(0);
  } else if (noise_ && (sender == noise_up_ || sender == noise_down_)) {
    noise_->SetText(StepNoiseText(noise_->GetText(), sender == noise_up_ ? 1 : -1));
  }
  return true;
}

bool ControlForm::OnSelect(ui::EventArgs* args) {
  ui::Control* sender = args->pSender;
  for (size_t i = 0; i < combos_.size(); ++i) {
    if (sender != combos_[i] || !combos_[i]) continue;
    const Choice choice = static_cast<Choice>(i);
    const std::wstring warning = choices_->Choose(choice, combos_[i]->GetCurSel());
    if (choice == Choice::kInputLanguage) ShowTranslation();
    Warn(warning);
    return true;
  }
  for (size_t i = 0; i < ticks_.size(); ++i) {
    if (sender != ticks_[i] || !ticks_[i]) continue;
    Warn(choices_->SetTicked(static_cast<Tick>(i), ticks_[i]->IsSelected()));
    return true;
  }
  return true;
}

void ControlForm::ShowWarning(const std::wstring& content) {
  // Modeless: the owner is disabled until the box is answered.
  ui_comp::ShowMsgBox(GetHWND(), ui_comp::MsgboxCallback(), content, L"提示", L"STRING_OK", L"");
}
