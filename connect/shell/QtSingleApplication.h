#pragma once
#include <QApplication>
#include <QPointer>

class LocalPeer;

// An application of which one instance runs per program and user; later starts
// hand a message to the running one.
class QtSingleApplication : public QApplication
{
    Q_OBJECT
public:
    QtSingleApplication(int &argc, char **argv, bool GUIenabled = true);

    bool isRunning();
    bool sendMessage(const QString &message, int timeout = 5000);

    void setActivationWindow(QWidget *aw, bool activateOnMessage = true);
    QWidget *activationWindow() const;

    // The identity shared by all instances of this program for this user.
    static QString instance_id(const QString &program_path);

signals:
    void messageReceived(const QString &message);

public slots:
    void activateWindow();

private:
    LocalPeer *m_peer;
    QPointer<QWidget> m_activationWindow;
};
