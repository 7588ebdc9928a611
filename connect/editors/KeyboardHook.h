#pragma once
// A system-wide keyboard hook: while installed, every key of the desktop goes through
// low_level_key_call (KeyCapture.h) and reaches no window. On Windows it is a
// WH_KEYBOARD_LL hook; elsewhere the keyboard is grabbed by a widget of the editor.
#include <functional>
#include <memory>

class QWidget;

class KeyboardHook
{
public:
    virtual ~KeyboardHook() = default;
    // False when the hook could not be installed.
    virtual bool install() = 0;
    // False when the system would not remove it.
    virtual bool remove() = 0;
};

// keyboard_owner: the editor widget that grabs the keyboard where there is no hook.
using KeyboardHookFactory = std::function<std::unique_ptr<KeyboardHook>(QWidget *keyboard_owner)>;

std::unique_ptr<KeyboardHook> make_keyboard_hook(QWidget *keyboard_owner);
// Tests put their own hooks in place; an empty factory restores the system's.
void set_keyboard_hook_factory(KeyboardHookFactory factory);

class KeySink;

// A hook whose keys go to one sink while it is installed. Installing it again changes
// nothing; destroying it removes it.
class KeyCaptureHook
{
public:
    KeyCaptureHook(QWidget *keyboard_owner, KeySink *sink);
    ~KeyCaptureHook();
    KeyCaptureHook(const KeyCaptureHook &) = delete;
    KeyCaptureHook &operator=(const KeyCaptureHook &) = delete;

    // False, with a log line, when the hook could not be installed.
    bool install();
    void remove();
    bool installed() const { return m_installed; }

private:
    std::unique_ptr<KeyboardHook> m_hook;
    KeySink *m_sink;
    bool m_installed = false;
};
