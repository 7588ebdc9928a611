#pragma once
#include <QWidget>

// The WK3 device page. The settings themselves are not built yet.
class Tavri_WK3 : public QWidget
{
    Q_OBJECT
public:
    explicit Tavri_WK3(QWidget *parent = nullptr);

    QString dev_config_path;  // set by the main window before the page is shown

signals:
    void return_back();
    void enter_widget();

public slots:
    void close_widget();
};
