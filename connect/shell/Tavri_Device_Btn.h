#pragma once
#include <QPushButton>

// One device square of the device bar.
class Tavri_Device_Btn : public QPushButton
{
    Q_OBJECT
public:
    explicit Tavri_Device_Btn(QWidget *parent = nullptr);

    QString dev_config_path;
    QString dev_update_path;
    QString dev_sn;
    QString product_name = QStringLiteral("TAVRI PRODUCT");

signals:
    void enter();
    void leave();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
