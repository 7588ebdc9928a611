#include "Widget.h"

#include "App_Background_Widget.h"
#include "App_Config_Widget.h"
#include "App_Pair_Widget.h"
#include "InstallerCleanup.h"
#include "InstallerStart.h"
#include "SystemTray.h"
#include "UpdateFiles.h"
#include "WindowMove.h"
#include "editors/PopBox.h"
#include "m_Devlist.h"
#include "m_Navibar.h"

#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalMapper>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace {

// A window that is shown but not painted (started minimised, mapped on another workspace)
// still finishes its start after this long.
constexpr int kStartWithoutPaintMs = 500;

const QString kWindowStyle = QStringLiteral(
    "QWidget {border:none; background:transparent;}"
    "QLabel {background:transparent; margin:0px; font:14px; color:rgba(255,255,255,0.7);}"
    "QLabel:disabled {color:rgba(255,255,255,0.3);}");

QString image_button_style(const QString &image, const QString &hover_image)
{
    return QStringLiteral("QPushButton {image: url(%1)} QPushButton:hover {image: url(%2)}").arg(image, hover_image);
}

QLabel *add_picture(QWidget *parent, const QRect &geometry, const QString &image = QString())
{
    auto *label = new QLabel(parent);
    label->setGeometry(geometry);
    if (!image.isEmpty())
        label->setPixmap(QPixmap(image));
    return label;
}

// The window-sized background in the format its pixmap takes, so that it needs no converting.
QImage background_image()
{
    return QImage(QStringLiteral(":/img/bg")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

Widget::Widget(QWidget *parent, const QUrl &update_server)
    : QWidget(parent)
    , m_updateServer(update_server)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(screen.width() / 2 - 600, screen.height() / 2 - 375, 1200, 750);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(kWindowStyle);

    create_welcome_page();
    create_device_bar();
    create_title_buttons();
    register_device_notifications();
    scan_devices();
}

Widget::~Widget()
{
    stop_update_thread();
}

void Widget::showEvent(QShowEvent *event)
{
    if (m_backgroundImage.valid())
        m_background->setPixmap(QPixmap::fromImage(m_backgroundImage.get()));
    QWidget::showEvent(event);
    if (!m_startFinished)
        QTimer::singleShot(kStartWithoutPaintMs, this, &Widget::finish_start);
}

void Widget::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_startFinished)
        QMetaObject::invokeMethod(this, &Widget::finish_start, Qt::QueuedConnection);
}

void Widget::finish_start()
{
    if (m_startFinished)
        return;
    m_startFinished = true;
    create_info_pages();
    create_tray();
    clean_up_old_installers();
    start_update_check();
}

void Widget::create_tray()
{
    m_tray = new SystemTray(this);
    m_tray->setVisible(true);
    connect(m_tray, &SystemTray::sys_openClicked, this, &Widget::showWidget);
    connect(m_tray, &QSystemTrayIcon::activated, this, &Widget::iconIsActived);
}

void Widget::create_welcome_page()
{
    // Decoded on a thread while the window is made; the picture joins it as it shows.
    m_background = add_picture(this, QRect(0, 0, 1200, 750));
    m_backgroundImage = std::async(std::launch::async, background_image);
    add_picture(this, QRect(35, 32, 63, 16), QStringLiteral(":/img/logo"));
    m_pages = new QStackedWidget(this);
    m_pages->setGeometry(0, 0, 1200, 750);
    m_welcomePage = new App_Background_Widget(this);
    m_pages->addWidget(m_welcomePage);
}

void Widget::create_info_pages()
{
    m_configPage = new App_Config_Widget(this);
    m_pairPage = new App_Pair_Widget(this);
    connect(m_configPage->return_button(), &QPushButton::clicked, this, &Widget::show_return_back);
    connect(m_pairPage->return_button(), &QPushButton::clicked, this, &Widget::show_return_back);
    m_pages->insertWidget(Page_Software, m_configPage);
    m_pages->insertWidget(Page_Pair, m_pairPage);
}

void Widget::create_device_bar()
{
    m_navibar = new m_Navibar(this);
    m_navibar->setGeometry(0, 525, 1200, 225);
    connect(m_navibar->devlist()->click_mapper(), &QSignalMapper::mappedString, this, &Widget::show_dev_widget);
    connect(m_navibar->devlist()->add_button(), &QPushButton::clicked, this, &Widget::show_pair_widget);
}

void Widget::create_title_buttons()
{
    m_titleStrip = new QWidget(this);
    m_titleStrip->setGeometry(0, 0, 1200, 25);
    m_titleStrip->installEventFilter(this);

    auto *minimise = new QPushButton(this);
    minimise->setGeometry(1110, 28, 20, 20);
    minimise->setStyleSheet(image_button_style(QStringLiteral(":/img/min.png"), QStringLiteral(":/img/min_h.png")));
    connect(minimise, &QPushButton::clicked, this, &QWidget::showMinimized);

    auto *close = new QPushButton(this);
    close->setGeometry(1145, 28, 20, 20);
    close->setStyleSheet(image_button_style(QStringLiteral(":/img/close.png"), QStringLiteral(":/img/close_h.png")));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    m_settingsButton = new QPushButton(this);
    m_settingsButton->setGeometry(1075, 28, 20, 20);
    m_settingsButton->setStyleSheet(
        image_button_style(QStringLiteral(":/img/config.png"), QStringLiteral(":/img/config_h.png")));
    connect(m_settingsButton, &QPushButton::clicked, this, &Widget::show_config_widget);
}

void Widget::showWidget()
{
    showNormal();
    raise();
    activateWindow();
}

void Widget::iconIsActived(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
        showWidget();
}

bool Widget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_titleStrip && event->type() == QEvent::MouseButtonPress)
        start_window_move(this);
    return QWidget::eventFilter(watched, event);
}

void Widget::clean_up_old_installers()
{
    for (const QString &name : clean_up_installers(QDir::current()))
        UpdateFound(name);
    // Where the update worker unpacks: found also while the server cannot be reached.
    const QString unpacked =
        UpdateFiles(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).clean_up();
    if (!unpacked.isEmpty())
        UpdateFound(unpacked);
}

// The window alone owns the thread. The worker is made on it, so that setting up the network
// does not hold up the window, and is deleted on it as it finishes.
void Widget::start_update_check()
{
    m_updateThread = std::make_unique<QThread>();
    QThread *thread = m_updateThread.get();
    connect(
        thread, &QThread::started, thread,
        [this, thread] {
            auto *update = new Update(m_updateServer);
            connect(thread, &QThread::finished, update, &QObject::deleteLater);
            connect(update, &Update::signalGetUpdateFinished, this, &Widget::UpdateFound);
            update->checkUpdate();
        },
        Qt::DirectConnection);
    thread->start(QThread::InheritPriority);
}

// Also when the thread has ended before, or never started.
void Widget::stop_update_thread()
{
    if (!m_updateThread)
        return;
    m_updateThread->quit();
    m_updateThread->wait();
}

void Widget::UpdateFound(QString filename)
{
    qDebug() << "APP UpdateFound" << filename;
    if (!QFileInfo(filename).exists()) {
        qDebug() << "file not found";
        return;
    }
    qDebug() << "file exists";
    m_configPage->update_marker()->show();
    QPushButton *version = m_configPage->version_button();
    version->setText(QStringLiteral("发现新版本  "));
    m_installerName = filename;
    version->disconnect();
    connect(version, &QPushButton::clicked, this, &Widget::RunUpdate);
}

void Widget::RunUpdate()
{
    qDebug() << "RunUpdate() " << m_installerName;
    if (!start_installer(QDir::current().filePath(m_installerName))) {
        tell_installer_failed();
        return;
    }
    QCoreApplication::quit();
}

// In connect's own box: with no error box of the shell, the user would see nothing happen.
void Widget::tell_installer_failed()
{
    if (!m_notice) {
        m_notice = new PopBox(this);
        m_notice->cancel_button()->hide();
        m_notice->setPopupText(tr("安装程序未能启动"));
    }
    m_notice->move(mapToGlobal(rect().center()) - m_notice->rect().center());
    m_notice->show();
}
