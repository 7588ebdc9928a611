#include "control/EventArgs.h"

namespace ui {

EventType EventNameToType(const std::wstring& name) {
  static const std::map<std::wstring, EventType> kNames = {
      {L"all", kEventAll},
      {L"keydown", kEventKeyDown},
      {L"keyup", kEventKeyUp},
      {L"char", kEventChar},
      {L"syskey", kEventSystemKey},
      {L"mousemove", kEventMouseMove},
      {L"mouseenter", kEventMouseEnter},
      {L"mouseleave", kEventMouseLeave},
      {L"mousehover", kEventMouseHover},
      {L"buttondown", kEventMouseButtonDown},
      {L"buttonup", kEventMouseButtonUp},
      {L"rbuttondown", kEventMouseRightButtonDown},
      {L"doubleclick", kEventMouseDoubleClick},
      {L"menu", kEventMouseMenu},
      {L"scrollwheel", kEventMouseScrollWheel},
      {L"setfocus", kEventSetFocus},
      {L"killfocus", kEventKillFocus},
      {L"windowclose", kEventWindowClose},
      {L"setcursor", kEventSetCursor},
      {L"select", kEventSelect},
      {L"unselect", kEventUnSelect},
      {L"return", kEventReturn},
      {L"tab", kEventTab},
      {L"scrollchange", kEventScrollChange},
      {L"valuechange", kEventValueChange},
  };
  auto found = kNames.find(name);
  return found == kNames.end() ? kEventNone : found->second;
}

void AttachHandler(EventMap& map, int type, const EventCallback& handler) {
  if (handler) map[type].push_back(handler);
}

namespace {

// One list; the first false ends it. The list is copied: a handler may attach more.
bool RunList(const EventHandlerList& list, EventArgs* args, const std::function<bool()>& alive) {
  const EventHandlerList handlers = list;
  for (const EventCallback& handler : handlers) {
    if (!handler(args)) return false;
    if (!alive()) return false;
  }
  return true;
}

}  // namespace

bool RunHandlerLists(const EventMap& map, EventArgs* args, bool& result,
                     const std::function<bool()>& alive) {
  bool ran = false;
  bool outcome = true;
  for (int type : {args->Type, static_cast<int>(kEventAll)}) {
    auto found = map.find(type);
    if (found == map.end()) continue;
    ran = true;
    // A false from the exact type's list stays false: the "all" list cannot undo it.
    outcome = RunList(found->second, args, alive) && outcome;
    if (!alive()) return false;
  }
  if (ran) result = outcome;
  return true;
}

}  // namespace ui
