#include "SystemTray.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

SystemTray::SystemTray(QObject *parent)
    : QSystemTrayIcon(parent)
{
    createAction();
    setToolTip(tr("TAVRI RERIVEZ"));
    m_showAction->setText(tr("显示"));
    m_quitAction->setText(tr("退出"));
}

// The menu has no parent, so the icon owns it.
SystemTray::~SystemTray()
{
    delete m_menu;
}

void SystemTray::createAction()
{
    setIcon(QIcon(QStringLiteral(":/img/SystemTrayIcon")));
    m_menu = new QMenu;
    m_showAction = new QAction(this);
    m_quitAction = new QAction(this);
    m_menu->addAction(m_showAction);
    m_menu->addAction(m_quitAction);
    connect(m_showAction, &QAction::triggered, this, &SystemTray::sys_openClicked);
    connect(m_quitAction, &QAction::triggered, qApp, &QCoreApplication::quit);
    setContextMenu(m_menu);
}
