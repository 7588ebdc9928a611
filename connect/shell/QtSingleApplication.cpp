#include "QtSingleApplication.h"

#include "LocalPeer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QWidget>

QtSingleApplication::QtSingleApplication(int &argc, char **argv, bool GUIenabled)
    : QApplication(argc, argv, GUIenabled)
    , m_peer(new LocalPeer(instance_id(applicationFilePath()), QDir::tempPath(), this))
{
    connect(m_peer, &LocalPeer::messageReceived, this, &QtSingleApplication::messageReceived);
}

QString QtSingleApplication::instance_id(const QString &program_path)
{
    const QByteArray user = qgetenv("USER") + qgetenv("USERNAME");
    const QByteArray key = QDir::cleanPath(program_path).toUtf8() + '\0' + user;
    return QStringLiteral("qtsingleapp-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool QtSingleApplication::isRunning()
{
    return m_peer->isClient();
}

bool QtSingleApplication::sendMessage(const QString &message, int timeout)
{
    return m_peer->sendMessage(message, timeout);
}

void QtSingleApplication::setActivationWindow(QWidget *aw, bool activateOnMessage)
{
    m_activationWindow = aw;
    disconnect(m_peer, &LocalPeer::messageReceived, this, &QtSingleApplication::activateWindow);
    if (activateOnMessage)
        connect(m_peer, &LocalPeer::messageReceived, this, &QtSingleApplication::activateWindow);
}

QWidget *QtSingleApplication::activationWindow() const
{
    return m_activationWindow;
}

void QtSingleApplication::activateWindow()
{
    if (!m_activationWindow)
        return;
    m_activationWindow->setWindowState(m_activationWindow->windowState() & ~Qt::WindowMinimized);
    m_activationWindow->showNormal();
    m_activationWindow->raise();
    m_activationWindow->activateWindow();
}
