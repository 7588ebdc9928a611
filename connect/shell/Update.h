#pragma once
#include <QObject>

// Checks for and downloads updates of connect on its own thread.
// The network pass is not built yet: checkUpdate() finds nothing.
class Update : public QObject
{
    Q_OBJECT
public:
    explicit Update(QObject *parent = nullptr);

signals:
    void signalGetVersionFinished();
    void signalGetUpdateFinished(QString filename);

public slots:
    void checkUpdate();
};
