// Without a system keyboard hook, the editor's widget grabs the keyboard and its key
// events take the hook's road. Inside a pop-up it does not grab: the pop-up holds the
// keyboard already and gives every key to its focus widget, the editor, and a widget's
// grab released there ends the pop-up's own, so the next click would close it.
#include "KeyboardHook.h"

#include "KeyCapture.h"
#include "XKeysyms.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

class KeyboardGrab : public QObject, public KeyboardHook
{
public:
    explicit KeyboardGrab(QWidget *owner)
        : m_owner(owner)
    {
    }

    ~KeyboardGrab() override { remove(); }

    bool install() override
    {
        if (!m_owner)
            return false;
        if (!m_installed) {
            m_owner->installEventFilter(this);
            m_grabbing = m_owner->window()->windowType() != Qt::Popup;
            if (m_grabbing)
                m_owner->grabKeyboard();
            m_installed = true;
        }
        return true;
    }

    bool remove() override
    {
        if (m_installed && m_owner) {
            if (m_grabbing)
                m_owner->releaseKeyboard();
            m_owner->removeEventFilter(this);
        }
        m_installed = false;
        m_grabbing = false;
        return true;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_owner)
            return false;
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            event->accept();  // no shortcut fires while the keys are captured
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool press = event->type() == QEvent::KeyPress;
            if (!press && key->isAutoRepeat())
                return true;  // a hook sees repeats as presses only
            low_level_key_call(0, press ? kWmKeyDown : kWmKeyUp,
                               vk_from_x_key(key->nativeVirtualKey(), key->nativeScanCode()));
            return true;
        }
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> m_owner;
    bool m_installed = false;
    bool m_grabbing = false;
};

} // namespace

std::unique_ptr<KeyboardHook> make_system_keyboard_hook(QWidget *keyboard_owner)
{
    return std::make_unique<KeyboardGrab>(keyboard_owner);
}
