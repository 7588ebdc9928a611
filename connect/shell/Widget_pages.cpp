// The page stack of the main window: information pages and the one device page.
#include "Widget.h"

#include "common/DevicePage.h"
#include "devices/SupportedModels.h"
#include "m_Navibar.h"

#include <QDebug>
#include <QPushButton>
#include <QStackedWidget>

void Widget::show_dev_widget(QString dev_config_path)
{
    finish_start();  // the device page comes after the information pages
    m_savedPageIndex = m_pages->currentIndex();
    const SupportedModel *model = model_of_path(dev_config_path);
    if (!model)
        return;
    DevicePage *page = model->create_page(*model, dev_config_path, this);
    m_currentDevicePath = dev_config_path;
    add_device_page(page);
    connect(page, &DevicePage::return_back, this, &Widget::show_return_back);
    connect(page, &DevicePage::enter_widget, m_navibar, &QWidget::hide);
}

// Shows the new page; only it stays at the device index.
void Widget::add_device_page(QWidget *page)
{
    m_pages->addWidget(page);
    m_pages->setCurrentIndex(m_pages->count() - 1);
    while (m_pages->count() > Page_Device + 1) {
        QWidget *old = m_pages->widget(Page_Device);
        m_pages->removeWidget(old);
        old->deleteLater();
    }
    qDebug() << "widget count" << m_pages->count();
}

void Widget::show_config_widget()
{
    show_info_page(Page_Software);
}

void Widget::show_pair_widget()
{
    show_info_page(Page_Pair);
}

void Widget::show_info_page(int page)
{
    finish_start();
    m_deviceBarWasVisible = m_navibar->isVisible();
    if (m_deviceBarWasVisible)
        m_navibar->hide();
    m_settingsButton->hide();
    m_savedPageIndex = m_pages->currentIndex();
    m_pages->setCurrentIndex(page);
}

void Widget::show_return_back()
{
    if (m_deviceBarWasVisible)
        m_navibar->show();
    m_settingsButton->show();
    const int target = m_pages->currentIndex() < Page_Device ? m_savedPageIndex : Page_Welcome;
    // The device bar belongs to the welcome page, also when the device page went away meanwhile.
    if (target == Page_Welcome)
        m_navibar->show();
    m_pages->setCurrentIndex(target);
    qDebug() << "widget count" << m_pages->count();
}
