#include "micro_Widget.h"

#include "KeyTables.h"
#include "common/SharedStyles.h"

#include <QEvent>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

micro_Widget::micro_Widget(QWidget *parent)
    : QWidget(parent)
    , m_eventView(new QListWidget(this))
    , m_recordButton(new QPushButton(tr("启动录制"), this))
    , m_saveButton(new QPushButton(tr("保存"), this))
    , m_delayOption(new QRadioButton(tr("记录延迟"), this))
    , m_recording([this] { return m_clock.elapsed(); })
    , m_hook(m_eventView, this)
{
    setFixedSize(304, 200);
    m_eventView->setGeometry(0, 0, 192, 194);
    m_eventView->setStyleSheet(style_list);
    m_eventView->installEventFilter(this);

    m_recordButton->setGeometry(207, 55, 90, 26);
    m_saveButton->setGeometry(207, 89, 90, 26);
    m_recordButton->setStyleSheet(style_push_button);
    m_saveButton->setStyleSheet(style_push_button);
    m_delayOption->setGeometry(207, 123, 130, 16);
    m_delayOption->setStyleSheet(style_radio_button);
    connect(m_recordButton, &QPushButton::clicked, this, &micro_Widget::start_record);

    m_clock.start();
}

micro_Widget::~micro_Widget() = default;

void micro_Widget::set_events(std::vector<MacroEvent> events)
{
    m_recording.set_events(std::move(events));
    m_unread = false;
    set_controls_idle(!recording());
}

void micro_Widget::set_unread()
{
    m_recording.set_events({});
    m_unread = true;
    set_controls_idle(!recording());
    show_records_list(false);
}

void micro_Widget::start_record()
{
    if (m_recording.recording()) {
        stop_record();
        return;
    }
    if (!m_hook.install()) {
        stop_record();  // idle, with the macro recorded before
        return;
    }
    m_eventView->clear();
    m_unread = false;
    m_recording.start(m_delayOption->isChecked());
    set_controls_idle(false);
    m_eventView->setFocus(Qt::OtherFocusReason);
}

void micro_Widget::stop_record()
{
    m_hook.remove();
    m_recording.stop();
    set_controls_idle(true);
}

void micro_Widget::set_controls_idle(bool idle)
{
    m_delayOption->setEnabled(idle);
    m_saveButton->setEnabled(idle && !m_unread);
    m_recordButton->setText(idle ? tr("启动录制") : tr("停止录制"));
}

void micro_Widget::key_event(std::uint32_t vkey, KeyAction action)
{
    record_keys(vkey, action);
}

void micro_Widget::record_keys(std::uint32_t vkey, KeyAction action)
{
    const MacroRecording::Step step = m_recording.key_event(vkey, action);
    if (step == MacroRecording::Step::Ignored)
        return;
    show_records_list(m_recording.record_delay());
    if (step == MacroRecording::Step::Full)
        stop_record();
}

void micro_Widget::show_records_list(bool show_delay)
{
    m_eventView->clear();
    if (m_unread)
        m_eventView->addItem(tr("未能读取宏"));
    const std::vector<MacroEvent> &events = m_recording.events();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const MacroEvent &event = events[i];
        const QString icon = event.action == 1 ? QStringLiteral(":/img/keyup.png") : QStringLiteral(":/img/keydown.png");
        m_eventView->addItem(new QListWidgetItem(QIcon(icon), vk_key_name(hid_usage_to_vk(event.usage))));
        if (show_delay && i + 1 < events.size())
            m_eventView->addItem(new QListWidgetItem(QIcon(QStringLiteral(":/img/timer.png")),
                                                     QString::number(events[i + 1].delay_ms) + tr(" 毫秒延迟")));
    }
    if (m_eventView->count() > 0)
        m_eventView->setCurrentRow(m_eventView->count() - 1);
}

bool micro_Widget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_eventView && event->type() == QEvent::FocusOut) {
        if (!m_recordButton->hasFocus())  // a click on the button stops the recording itself
            stop_record();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
