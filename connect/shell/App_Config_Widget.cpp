#include "App_Config_Widget.h"

#include "ProgramVersion.h"
#include "common/ReturnButton.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *add_label(QWidget *parent, const QRect &geometry, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

} // namespace

App_Config_Widget::App_Config_Widget(QWidget *parent)
    : QWidget(parent)
    , m_versionButton(nullptr)
    , m_updateMarker(nullptr)
    , m_languageBox(nullptr)
    , m_returnButton(add_return_button(this))
{
    setStyleSheet(QStringLiteral("QLabel {font:12px}"));

    QLabel *logo = add_label(this, QRect(550, 170, 100, 60));
    logo->setPixmap(QPixmap(QStringLiteral(":/img/connect_logo"))
                        .scaled(100, 60, Qt::IgnoreAspectRatio, Qt::FastTransformation));

    QLabel *name = add_label(this, QRect(0, 250, 1200, 18), QStringLiteral("TAVRI ZIREZEV"));
    name->setAlignment(Qt::AlignCenter);
    name->setStyleSheet(QStringLiteral("QLabel{font:18px;color:rgba(255,255,255,0.04)}"));

    add_panel();
    add_language_choice();
}

void App_Config_Widget::add_panel()
{
    add_label(this, QRect(280, 346, 640, 34))
        ->setStyleSheet(QStringLiteral("border:none;background-color:rgba(255,255,255,0.03);"));
    add_label(this, QRect(300, 357, 100, 12), tr("软件版本信息"));

    m_updateMarker = add_label(this, QRect(880, 361, 6, 6));
    m_updateMarker->setPixmap(QPixmap(QStringLiteral(":/img/update")));
    m_updateMarker->hide();

    m_versionButton = new QPushButton(QStringLiteral("Version: ") + ProgramVersion::text(), this);
    m_versionButton->setGeometry(700, 357, 200, 13);
    m_versionButton->setStyleSheet(QStringLiteral(
        "background-color:transparent;padding-right:20px;text-align:right;font-size:12px;"
        "color:rgba(255,255,255,0.7)"));

    add_label(this, QRect(892, 356, 8, 14))->setPixmap(QPixmap(QStringLiteral(":/img/show_more")));
}

void App_Config_Widget::add_language_choice()
{
    QLabel *caption = add_label(this, QRect(300, 429, 50, 12), tr("语言:"));
    m_languageBox = new QComboBox(this);
    m_languageBox->setGeometry(360, 425, 150, 20);
    m_languageBox->setStyleSheet(QStringLiteral(
        "QComboBox {border-width:1px;border-style:solid;border-color: #434343;border-radius:3px;"
        "color:rgba(255,255,255,0.7);padding-left:30px;font-size:12px;background:#292b2d;}"));
    m_languageBox->addItem(QStringLiteral("简体中文"));
    m_languageBox->addItem(QString());
    caption->hide();
    m_languageBox->hide();
}
