#pragma once
#include <QSystemTrayIcon>

class QAction;
class QMenu;

// The notification-area icon with its "显示" and "退出" menu.
class SystemTray : public QSystemTrayIcon
{
    Q_OBJECT
public:
    explicit SystemTray(QObject *parent);
    ~SystemTray() override;

    QAction *show_action() const { return m_showAction; }
    QAction *quit_action() const { return m_quitAction; }

signals:
    void sys_openClicked();

public slots:
    void createAction();

private:
    QAction *m_showAction = nullptr;
    QAction *m_quitAction = nullptr;
    QMenu *m_menu = nullptr;
};
