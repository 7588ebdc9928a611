// The page stack of the main window: information pages and the one device page.
#include "Widget.h"

#include "SupportedModels.h"
#include "devices/Tavri_QV8.h"
#include "devices/Tavri_WK3.h"
#include "devices/Tavri_ZY5.h"
#include "m_Navibar.h"

#include <QDebug>
#include <QPushButton>
#include <QStackedWidget>

namespace {

int model_of(const QString &dev_config_path)
{
    for (int row = 0; row < int(supported_models.size()); ++row)
        if (dev_config_path.contains(supported_models[row].match_id))
            return row;
    return -1;
}

// The ZY5's second interface: same device, the "mi_01&col02" collection.
QString zy5_macro_path(QString dev_config_path)
{
    const SupportedModel &zy5 = supported_models[Model_ZY5];
    return dev_config_path.replace(zy5.config_interface, zy5.update_interface)
        .replace(QStringLiteral("0001#"), QStringLiteral("0002#"));
}

} // namespace

template <typename DevicePage>
void Widget::open_device_page(DevicePage *page, const QString &dev_config_path)
{
    m_currentDevicePath = dev_config_path;
    add_device_page(page);
    connect(page, &DevicePage::return_back, this, &Widget::show_return_back);
    connect(page, &DevicePage::enter_widget, m_navibar, &QWidget::hide);
}

void Widget::show_dev_widget(QString dev_config_path)
{
    m_savedPageIndex = m_pages->currentIndex();
    switch (model_of(dev_config_path)) {
    case Model_QV8: {
        auto *page = new Tavri_QV8(this);
        page->dev_config_path = dev_config_path;
        open_device_page(page, dev_config_path);
        break;
    }
    case Model_ZY5: {
        auto *page = new Tavri_ZY5(this);
        page->dev_command_path = dev_config_path;
        page->dev_macro_path = zy5_macro_path(dev_config_path);
        open_device_page(page, dev_config_path);
        break;
    }
    case Model_WK3: {
        auto *page = new Tavri_WK3(this);
        page->dev_config_path = dev_config_path;
        open_device_page(page, dev_config_path);
        break;
    }
    default:
        break;
    }
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
