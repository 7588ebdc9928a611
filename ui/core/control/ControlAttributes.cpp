// The attribute setter the skin builder calls for every attribute of every element.
#include <algorithm>
#include <map>

#include "control/Control.h"
#include "image/ImageAttribute.h"
#include "system/DpiManager.h"

namespace ui {
namespace {

bool IsTrue(const std::wstring& value) { return value == L"true"; }

bool StateByName(const std::wstring& prefix, const std::wstring& suffix, const std::wstring& name,
                 ControlStateType& state) {
  static const std::pair<const wchar_t*, ControlStateType> kStates[] = {
      {L"normal", kControlStateNormal},
      {L"hot", kControlStateHot},
      {L"pushed", kControlStatePushed},
      {L"disabled", kControlStateDisabled}};
  for (const auto& [word, value] : kStates) {
    if (name == prefix + word + suffix) {
      state = value;
      return true;
    }
  }
  return false;
}

}  // namespace

void Control::SetAttribute(const std::wstring& name, const std::wstring& value) {
  ControlStateType state;
  int size = 0;
  if (name == L"class") {
    SetClass(value);
  } else if (name == L"halign") {
    if (value == L"left") hor_align_ = kHorAlignLeft;
    if (value == L"center") hor_align_ = kHorAlignCenter;
    if (value == L"right") hor_align_ = kHorAlignRight;
  } else if (name == L"valign") {
    if (value == L"top") ver_align_ = kVerAlignTop;
    if (value == L"center") ver_align_ = kVerAlignCenter;
    if (value == L"bottom") ver_align_ = kVerAlignBottom;
  } else if (name == L"margin") {
    SetMargin(ParseRect(value), true);
  } else if (name == L"bkcolor" || name == L"bkcolor1") {
    SetBkColor(value);
  } else if (name == L"bordersize") {
    if (value.find(L',') == std::wstring::npos)
      SetBorderSize(_wtoi(value.c_str()));
    else
      SetBorderSize(ParseRect(value));
  } else if (name == L"borderround") {
    const RECT pair = ParseRect(value);
    SetBorderRound(SIZE{ScaleByDpi(pair.left), ScaleByDpi(pair.top)});
  } else if (name == L"width" || name == L"height") {
    if (!ParseSizeValue(value, size)) return;
    if (name == L"width")
      SetFixedWidth(size, true, false);
    else
      SetFixedHeight(size, false);
  } else if (name == L"maxwidth") {
    if (ParseSizeValue(value, size)) StoreLimit(cx_max_, size);
  } else if (name == L"maxheight") {
    if (ParseSizeValue(value, size)) StoreLimit(cy_max_, size);
  } else if (name == L"minwidth") {
    SetMinWidth(_wtoi(value.c_str()));
  } else if (name == L"minheight") {
    SetMinHeight(_wtoi(value.c_str()));
  } else if (name == L"state") {
    if (StateByName(L"", L"", value, state)) SetState(state);
  } else if (name == L"cursortype") {
    if (value == L"arrow") cursor_type_ = kCursorArrow;
    if (value == L"hand") cursor_type_ = kCursorHand;
    if (value == L"ibeam") cursor_type_ = kCursorHandIbeam;
  } else if (name == L"renderoffset") {
    const RECT pair = ParseRect(value);
    SetRenderOffset(POINT{ScaleByDpi(pair.left), ScaleByDpi(pair.top)});
  } else if (StateByName(L"", L"color", name, state)) {
    SetStateColor(state, value);
  } else if (name == L"bordercolor") {
    SetBorderColor(value);
  } else if (name == L"leftbordersize") {
    border_sides_.left = ScaleByDpi(_wtoi(value.c_str()));
    Invalidate();
  } else if (name == L"topbordersize") {
    border_sides_.top = ScaleByDpi(_wtoi(value.c_str()));
    Invalidate();
  } else if (name == L"rightbordersize") {
    border_sides_.right = ScaleByDpi(_wtoi(value.c_str()));
    Invalidate();
  } else if (name == L"bottombordersize") {
    border_sides_.bottom = ScaleByDpi(_wtoi(value.c_str()));
    Invalidate();
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else if (name == L"name") {
    name_ = value;
  } else if (name == L"tooltiptext") {
    SetToolTipText(value);
  } else if (name == L"tooltiptextid") {
    SetToolTipTextId(value);
  } else if (name == L"dataid") {
    SetDataId(value);
  } else if (name == L"enabled") {
    SetEnabled(IsTrue(value));
  } else if (name == L"mouse") {
    SetMouseEnabled(IsTrue(value));
  } else if (name == L"keyboard") {
    SetKeyboardEnabled(IsTrue(value));
  } else if (name == L"visible") {
    SetVisible(IsTrue(value));
  } else if (name == L"fadevisible") {
    SetFadeVisible(IsTrue(value));
  } else if (name == L"float") {
    SetFloat(IsTrue(value));
  } else if (name == L"menu") {
    SetContextMenuUsed(IsTrue(value));
  } else if (name == L"cache") {
    SetUseCache(IsTrue(value));
  } else if (name == L"nofocus") {
    no_focus_ = true;
  } else if (name == L"alpha") {
    // Opacity is a byte: anything outside 0..255 is clamped.
    SetAlpha(std::clamp(_wtoi(value.c_str()), 0, 255));
  } else if (StateByName(L"", L"image", name, state)) {
    SetStateImage(kStateImageBk, state, value);
  } else if (StateByName(L"fore", L"image", name, state)) {
    SetStateImage(kStateImageFore, state, value);
  } else if (name == L"fadealpha") {
    animation_.SetFadeAlpha(IsTrue(value));
  } else if (name == L"fadehot") {
    animation_.SetFadeHot(IsTrue(value));
  } else if (name == L"fadewidth") {
    animation_.SetFadeWidth(IsTrue(value));
  } else if (name == L"fadeheight") {
    animation_.SetFadeHeight(IsTrue(value));
  } else if (name == L"fadeinoutxfromleft") {
    animation_.SetFadeInOutX(IsTrue(value), false);
  } else if (name == L"fadeinoutxfromright") {
    animation_.SetFadeInOutX(IsTrue(value), true);
  } else if (name == L"fadeinoutyfromtop") {
    animation_.SetFadeInOutY(IsTrue(value), false);
  } else if (name == L"fadeinoutyfrombottom") {
    animation_.SetFadeInOutY(IsTrue(value), true);
  } else if (name == L"receivepointer") {
    SetReceivePointer(IsTrue(value));
  }
}

}  // namespace ui
