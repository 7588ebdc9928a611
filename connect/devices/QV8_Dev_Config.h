#pragma once
#include <QWidget>

class QLabel;

// The QV8 page's device configuration: the receiver's firmware version.
class QV8_Dev_Config : public QWidget
{
    Q_OBJECT
public:
    explicit QV8_Dev_Config(QWidget *parent = nullptr);

    QLabel *version_label() const { return m_versionLabel; }

private:
    QLabel *m_versionLabel;
};
