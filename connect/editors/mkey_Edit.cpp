#include "mkey_Edit.h"

#include "common/SharedStyles.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString style_mkey_line_edit = QStringLiteral(
    "QLineEdit {border-radius:2px; border-width:1px; border-style:solid; border-color:rgba(255,255,255,0.14);"
    " background-color:rgba(0,0,0,0.34); font:12px; color:rgba(255,255,255,0.7); text-align:left;}"
    "QLineEdit:hover, QLineEdit:focus {border-color:#2bac39;}");

} // namespace

mkey_Edit::mkey_Edit(QWidget *parent)
    : QWidget(parent)
    , m_lineEdit(new QLineEdit(this))
    , m_saveButton(new QPushButton(tr("保存"), this))
    , m_clearButton(new QPushButton(tr("清除"), this))
    , m_hook(m_lineEdit, this)
{
    m_lineEdit->setGeometry(0, 0, 242, 26);
    m_lineEdit->setReadOnly(true);
    m_lineEdit->setStyleSheet(style_mkey_line_edit);
    m_lineEdit->installEventFilter(this);

    m_clearButton->setGeometry(0, 34, 90, 26);
    m_saveButton->setGeometry(100, 34, 90, 26);
    for (QPushButton *button : {m_clearButton, m_saveButton}) {
        button->setStyleSheet(style_push_button);
        button->setEnabled(false);
    }
    connect(m_clearButton, &QPushButton::clicked, this, &mkey_Edit::clear_mkey);
    connect(m_saveButton, &QPushButton::clicked, this, &mkey_Edit::mkey_save_clicked);
}

mkey_Edit::~mkey_Edit() = default;

void mkey_Edit::load_combination(std::uint8_t modifiers, std::uint8_t key_usage)
{
    m_capture.load(modifiers, key_usage);
}

void mkey_Edit::show_mkey()
{
    m_text = combination_text(m_capture.combination());
    m_lineEdit->setText(m_text);
    m_clearButton->setEnabled(true);
    m_saveButton->setEnabled(true);
}

void mkey_Edit::clear_mkey()
{
    m_capture.clear();
    m_text.clear();
    m_lineEdit->clear();
    m_lineEdit->setFocus(Qt::OtherFocusReason);
    m_saveButton->setEnabled(false);
}

bool mkey_Edit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lineEdit && event->type() == QEvent::FocusIn) {
        m_hook.install();
        return true;
    }
    if (watched == m_lineEdit && event->type() == QEvent::FocusOut) {
        m_hook.remove();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void mkey_Edit::key_event(std::uint32_t vkey, KeyAction action)
{
    if (m_capture.key_event(vkey, action))
        show_mkey();
}
