// The WH_KEYBOARD_LL hook through the plain Win32 calls of win32/LowLevelKeyboardHook.
#include "KeyboardHook.h"

#include "win32/LowLevelKeyboardHook.h"

namespace {

class WindowsKeyboardHook : public KeyboardHook
{
public:
    ~WindowsKeyboardHook() override { remove(); }

    bool install() override
    {
        if (!m_hook)
            m_hook = install_low_level_keyboard_hook();
        return m_hook != nullptr;
    }

    bool remove() override
    {
        const bool removed = !m_hook || remove_low_level_keyboard_hook(m_hook);
        m_hook = nullptr;
        return removed;
    }

private:
    void *m_hook = nullptr;
};

} // namespace

std::unique_ptr<KeyboardHook> make_system_keyboard_hook(QWidget *)
{
    return std::make_unique<WindowsKeyboardHook>();
}
