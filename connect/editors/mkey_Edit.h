#pragma once
#include "KeyCapture.h"
#include "KeyCombination.h"
#include "KeyboardHook.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The custom key combination of a mouse button, typed while its read-only line edit has
// the focus: modifiers accumulate, the last other key is the combination's key. Every key
// is captured by a keyboard hook while the line edit has the focus.
class mkey_Edit : public QWidget, private KeySink
{
    Q_OBJECT
public:
    explicit mkey_Edit(QWidget *parent = nullptr);
    ~mkey_Edit() override;

    const KeyCombination &combination() const { return m_capture.combination(); }
    // The combination as read from the device; show_mkey shows it.
    void load_combination(std::uint8_t modifiers, std::uint8_t key_usage);
    // The display text of the combination.
    const QString &text() const { return m_text; }

    QLineEdit *line_edit() const { return m_lineEdit; }
    QPushButton *save_button() const { return m_saveButton; }
    QPushButton *clear_button() const { return m_clearButton; }

signals:
    void mkey_save_clicked();

public slots:
    void show_mkey();
    void clear_mkey();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void key_event(std::uint32_t vkey, KeyAction action) override;

    QLineEdit *m_lineEdit;
    QPushButton *m_saveButton;
    QPushButton *m_clearButton;
    KeyCombinationCapture m_capture;
    QString m_text;
    KeyCaptureHook m_hook;
};
