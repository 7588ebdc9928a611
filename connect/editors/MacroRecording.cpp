#include "MacroRecording.h"

#include "KeyTables.h"

#include <algorithm>

MacroRecording::MacroRecording(Clock now_ms)
    : m_now(std::move(now_ms))
{
}

void MacroRecording::start(bool record_delay)
{
    m_events.clear();
    m_keys.clear();
    m_recordDelay = record_delay;
    m_recording = true;
    m_lastEventMs = m_now();
}

void MacroRecording::stop()
{
    m_keys.clear();
    m_recording = false;
}

MacroRecording::Step MacroRecording::key_event(std::uint32_t vkey, KeyAction action)
{
    if (!m_recording)
        return Step::Ignored;
    const std::uint8_t usage = vk_to_hid_usage(vkey);
    if (usage == kNoKey)
        return Step::Ignored;
    const bool changed = action == KeyAction::Down ? m_keys.press(vkey) : m_keys.release(vkey);
    if (!changed)
        return Step::Ignored;

    MacroEvent event;
    event.usage = usage;
    event.action = action == KeyAction::Up ? 1 : 0;
    event.delay_ms = delay_before_next_event();
    m_events.push_back(event);
    if (m_events.size() < kMaxEvents)
        return Step::Recorded;
    stop();
    return Step::Full;
}

std::uint16_t MacroRecording::delay_before_next_event()
{
    if (!m_recordDelay)
        return 0;
    const std::int64_t now = m_now();
    const std::int64_t elapsed = now - m_lastEventMs;
    m_lastEventMs = now;
    if (m_events.empty())
        return 0;
    return std::uint16_t(std::clamp<std::int64_t>(elapsed, 0, kMaxDelayMs));
}
