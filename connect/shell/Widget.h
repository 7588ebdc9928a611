#pragma once
#include "Update.h"

#include <QImage>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWidget>

#include <future>
#include <memory>

class App_Background_Widget;
class App_Config_Widget;
class App_Pair_Widget;
class PopBox;
class DeviceNotifications;
class QLabel;
class QPushButton;
class QStackedWidget;
class QThread;
class SystemTray;
class m_Navibar;

// connect's frameless main window: page stack, device bar, tray icon and device discovery.
// It builds what its first frame shows; the rest follows once that frame is painted.
class Widget : public QWidget
{
    Q_OBJECT
public:
    enum Page { Page_Welcome = 0, Page_Software = 1, Page_Pair = 2, Page_Device = 3 };

    // update_server: where the update check asks (an empty address makes it fail at once).
    explicit Widget(QWidget *parent = nullptr, const QUrl &update_server = Update::default_server);
    ~Widget() override;

    QStackedWidget *page_stack() const { return m_pages; }
    m_Navibar *device_bar() const { return m_navibar; }
    SystemTray *tray() const { return m_tray; }
    App_Config_Widget *software_page() const { return m_configPage; }
    App_Pair_Widget *pair_page() const { return m_pairPage; }
    QPushButton *settings_button() const { return m_settingsButton; }
    QWidget *title_strip() const { return m_titleStrip; }
    DeviceNotifications *device_notifications() const { return m_notifications; }
    QString current_device_path() const { return m_currentDevicePath; }
    QThread *update_thread() const { return m_updateThread.get(); }

    // The information pages, the tray icon, the clean-up of old installers and the update
    // check. Runs by itself after the first paint, or a moment after showing when no paint
    // comes; later calls do nothing.
    void finish_start();
    void scan_devices();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;
#endif
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void showWidget();
    void iconIsActived(QSystemTrayIcon::ActivationReason reason);
    void show_dev_widget(QString dev_config_path);
    void show_config_widget();
    void show_pair_widget();
    void show_return_back();
    void UpdateFound(QString filename);
    void RunUpdate();
    void device_arrived(const QString &interface_path);
    void device_removed(const QString &interface_path);

private:
    void create_tray();
    void create_welcome_page();
    void create_info_pages();
    void create_device_bar();
    void create_title_buttons();
    void register_device_notifications();
    void clean_up_old_installers();
    void show_info_page(int page);
    void add_device_page(QWidget *page);
    void start_update_check();
    void stop_update_thread();
    void tell_installer_failed();

    int m_savedPageIndex = Page_Welcome;
    QLabel *m_background = nullptr;
    std::future<QImage> m_backgroundImage;
    QPushButton *m_settingsButton = nullptr;
    QWidget *m_titleStrip = nullptr;
    m_Navibar *m_navibar = nullptr;
    QStackedWidget *m_pages = nullptr;
    App_Config_Widget *m_configPage = nullptr;
    App_Background_Widget *m_welcomePage = nullptr;
    App_Pair_Widget *m_pairPage = nullptr;
    bool m_deviceBarWasVisible = false;
    QString m_currentDevicePath;
    QString m_installerName;
    QUrl m_updateServer;
    bool m_startFinished = false;
    std::unique_ptr<QThread> m_updateThread;  // the worker on it goes when it finishes
    SystemTray *m_tray = nullptr;
    DeviceNotifications *m_notifications = nullptr;
    PopBox *m_notice = nullptr;  // made when an installer fails to start
};
