// Control events: their numbers, the skin's names for them, and the handler lists.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {

class Control;

enum EventType {
  kEventInternalDoubleClick = 0,
  kEventInternalMenu = 1,
  kEventInternalSetFocus = 2,
  kEventInternalKillFocus = 3,
  kEventNone = 4,
  kEventAll = 6,
  kEventKeyDown = 8,
  kEventKeyUp = 9,
  kEventChar = 10,
  kEventSystemKey = 11,
  kEventMouseMove = 14,
  kEventMouseEnter = 15,
  kEventMouseLeave = 16,
  kEventMouseHover = 17,
  kEventMouseButtonDown = 18,
  kEventMouseButtonUp = 19,
  kEventMouseRightButtonDown = 20,
  kEventMouseRightButtonUp = 21,
  kEventMouseDoubleClick = 22,
  kEventMouseMenu = 23,
  kEventMouseScrollWheel = 24,
  kEventTouchDown = 27,
  kEventTouchMove = 28,
  kEventTouchUp = 29,
  kEventPointDown = 32,
  kEventPointMove = 33,
  kEventPointUp = 34,
  kEventSetFocus = 36,
  kEventKillFocus = 37,
  kEventWindowSize = 38,
  kEventWindowClose = 39,
  kEventSetCursor = 40,
  kEventClick = 41,
  kEventSelect = 42,
  kEventUnSelect = 43,
  kEventTextChange = 44,
  kEventReturn = 45,
  kEventTab = 46,
  kEventCustomLinkClick = 47,
  kEventImeStartComposition = 48,
  kEventImeEndComposition = 49,
  kEventScrollChange = 50,
  kEventValueChange = 51,
  kEventResize = 52,
};

struct EventArgs {
  int Type = kEventNone;
  Control* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  wchar_t chKey = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  float pressure = 0.0f;
};

// The skin's event name; any name outside the table gives kEventNone.
EventType EventNameToType(const std::wstring& name);

using EventCallback = std::function<bool(EventArgs*)>;
using EventHandlerList = std::vector<EventCallback>;
using EventMap = std::map<int, EventHandlerList>;

// Appends a handler; empty callables are not attached.
void AttachHandler(EventMap& map, int type, const EventCallback& handler);
// Runs the list of the event's type, then the "all" list; each list stops at its first false.
// When either list exists, `result` becomes true only if both answered true. Returns false
// when `alive` reports the owner gone after a list.
bool RunHandlerLists(const EventMap& map, EventArgs* args, bool& result,
                     const std::function<bool()>& alive);

}  // namespace ui
