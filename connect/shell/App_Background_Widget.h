#pragma once
#include <QWidget>

// The welcome page, shown while no device page is open.
class App_Background_Widget : public QWidget
{
    Q_OBJECT
public:
    explicit App_Background_Widget(QWidget *parent = nullptr);
};
