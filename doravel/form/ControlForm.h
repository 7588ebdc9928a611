// Doravel's settings window: the skin "controls/controls.xml" over the lists and choices of
// SettingsChoices; OK saves the settings file, tells a running Kelvane and quits.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "form/SettingsChoices.h"
#include "window/WindowImplBase.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"

namespace ui {
class Combo;
class RichEdit;
}  // namespace ui

// The settings window's class and window name.
extern const wchar_t kSettingsWindowName[];  // "UIMainFrame"

// The user data of every combo item: its key/value pairs.
class CUserAttribute : public ui::UserDataBase {
 public:
  explicit CUserAttribute(UserAttributes attributes) : attributes_(std::move(attributes)) {}
  const UserAttributes& attributes() const { return attributes_; }

 private:
  UserAttributes attributes_;
};

class ControlForm : public ui::WindowImplBase {
 public:
  ControlForm();
  ~ControlForm() override;

  std::wstring GetWindowClassName() const override { return kSettingsWindowName; }
  void InitWindow() override;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnFirstVisibleFrame() override;
  LRESULT OnClose(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
  std::wstring GetSkinFolder() const override { return L"controls"; }
  std::wstring GetSkinFile() const override { return L"controls.xml"; }

 protected:
  // Shows a warning in the skinned box; tests look at it instead.
  virtual void ShowWarning(const std::wstring& content);

 private:
  // Said once, after the first frame, when the settings file could not be read; the file
  // stays as it is until OK saves over it.
  void ShowUnreadableSettingsNotice();
  bool OnClick(ui::EventArgs* args);
  bool OnSelect(ui::EventArgs* args);
  void ShowList(Choice choice);
  void ShowTick(Tick tick);
  void ShowTranslation();
  void Warn(const std::wstring& warning);

  std::unique_ptr<SettingsChoices> choices_;
  std::array<ui::Combo*, 6> combos_{};
  std::array<ui::CheckBox*, 3> ticks_{};
  ui::RichEdit* noise_ = nullptr;
  ui::Button* noise_up_ = nullptr;
  ui::Button* noise_down_ = nullptr;
  ui::Button* ok_ = nullptr;
  ui::Button* cancel_ = nullptr;
};
