#include "KeyboardHook.h"

#include "KeyCapture.h"

#include <QDebug>

// Defined by KeyboardHook_win.cpp or KeyboardHook_x11.cpp.
std::unique_ptr<KeyboardHook> make_system_keyboard_hook(QWidget *keyboard_owner);

namespace {

KeyboardHookFactory &factory_in_use()
{
    static KeyboardHookFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<KeyboardHook> make_keyboard_hook(QWidget *keyboard_owner)
{
    return factory_in_use() ? factory_in_use()(keyboard_owner) : make_system_keyboard_hook(keyboard_owner);
}

void set_keyboard_hook_factory(KeyboardHookFactory factory)
{
    factory_in_use() = std::move(factory);
}

KeyCaptureHook::KeyCaptureHook(QWidget *keyboard_owner, KeySink *sink)
    : m_hook(make_keyboard_hook(keyboard_owner))
    , m_sink(sink)
{
}

KeyCaptureHook::~KeyCaptureHook()
{
    remove();
}

bool KeyCaptureHook::install()
{
    if (m_installed)
        return true;
    if (!m_hook->install()) {
        qDebug() << "keyboard hook cannot be installed";
        return false;
    }
    m_installed = true;
    add_key_sink(m_sink);
    return true;
}

void KeyCaptureHook::remove()
{
    if (!m_installed)
        return;
    if (!m_hook->remove())
        qDebug() << "keyboard hook cannot be removed";
    m_installed = false;
    remove_key_sink(m_sink);
}
