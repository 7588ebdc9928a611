#pragma once
#include "KeyCapture.h"
#include "KeyboardHook.h"
#include "MacroRecording.h"

#include <QElapsedTimer>
#include <QWidget>

class QListWidget;
class QPushButton;
class QRadioButton;

// The macro tab: records key presses and releases, optionally with the pauses between
// them, and lists them. While recording, every key of the desktop is captured by a
// keyboard hook and reaches no window.
class micro_Widget : public QWidget, private KeySink
{
    Q_OBJECT
public:
    explicit micro_Widget(QWidget *parent = nullptr);
    ~micro_Widget() override;

    bool recording() const { return m_recording.recording(); }
    bool record_delay() const { return m_recording.record_delay(); }
    void set_record_delay(bool record_delay) { m_recording.set_record_delay(record_delay); }
    const std::vector<MacroEvent> &events() const { return m_recording.events(); }
    void set_events(std::vector<MacroEvent> events);
    // The device's macro could not be read: the list is empty and says so, and saving
    // waits for a recording of the user's own.
    void set_unread();
    bool unread() const { return m_unread; }

    QListWidget *event_view() const { return m_eventView; }
    QPushButton *record_button() const { return m_recordButton; }
    QPushButton *save_button() const { return m_saveButton; }
    QRadioButton *delay_option() const { return m_delayOption; }

public slots:
    void show_records_list(bool show_delay);

private slots:
    void start_record();
    void stop_record();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void key_event(std::uint32_t vkey, KeyAction action) override;
    void record_keys(std::uint32_t vkey, KeyAction action);
    void set_controls_idle(bool idle);

    QListWidget *m_eventView;
    QPushButton *m_recordButton;
    QPushButton *m_saveButton;
    QRadioButton *m_delayOption;
    QElapsedTimer m_clock;
    MacroRecording m_recording;
    KeyCaptureHook m_hook;
    bool m_unread = false;
};
