#pragma once
// Recording a key macro: each new press and each release of a key that went down while
// recording becomes an event, with the pause since the previous event when delays are
// recorded. A macro holds at most kMaxEvents events.
#include "KeyCapture.h"
#include "MacroEvent.h"

#include <cstddef>
#include <functional>
#include <vector>

class MacroRecording
{
public:
    static constexpr std::size_t kMaxEvents = 100;
    static constexpr std::int64_t kMaxDelayMs = 0xFFFF;  // longer pauses are stored as this

    using Clock = std::function<std::int64_t()>;  // milliseconds, never going back
    explicit MacroRecording(Clock now_ms);

    // Empties the macro and starts recording.
    void start(bool record_delay);
    void stop();
    bool recording() const { return m_recording; }

    enum class Step { Ignored, Recorded, Full };
    // Full: this key made the last event, and recording has stopped.
    Step key_event(std::uint32_t vkey, KeyAction action);

    bool record_delay() const { return m_recordDelay; }
    void set_record_delay(bool record_delay) { m_recordDelay = record_delay; }
    const std::vector<MacroEvent> &events() const { return m_events; }
    void set_events(std::vector<MacroEvent> events) { m_events = std::move(events); }

private:
    std::uint16_t delay_before_next_event();

    Clock m_now;
    KeyStates m_keys;
    bool m_recording = false;
    bool m_recordDelay = false;
    std::int64_t m_lastEventMs = 0;
    std::vector<MacroEvent> m_events;
};
