#pragma once
// A main window on the simulated bus, started in an empty temporary current folder.
#include "SimulatedDevices.h"
#include "common/HidBus.h"
#include "shell/Widget.h"
#include "shell/m_Devlist.h"
#include "shell/m_Navibar.h"
#include "shell/Tavri_Device_Btn.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct WidgetFixture {
    QTemporaryDir folder;
    QString previous_folder = QDir::currentPath();
    std::unique_ptr<Widget> window;

    WidgetFixture()
    {
        fakehid::reset();
        HidBus::refresh();  // the bus list starts empty, as in a new process
        QDir::setCurrent(folder.path());
    }

    ~WidgetFixture()
    {
        window.reset();
        QDir::setCurrent(previous_folder);
        fakehid::reset();
    }

    // The whole window at once, without waiting for its first paint.
    Widget &start(const QUrl &update_server = QUrl())  // by default no update server
    {
        window = std::make_unique<Widget>(nullptr, update_server);
        window->show();
        window->finish_start();
        return *window;
    }

    m_Devlist &devices() const { return *window->device_bar()->devlist(); }

    QStringList button_paths() const
    {
        QStringList paths;
        for (const Tavri_Device_Btn *button : devices().buttons())
            paths.append(button->dev_config_path);
        return paths;
    }

    void notify(const char *slot, const QString &name)
    {
        QVERIFY(QMetaObject::invokeMethod(window.get(), slot, Q_ARG(QString, name)));
    }

    static void process_deletions() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
