#pragma once
#include <QString>

class DevicePage;
class QWidget;

// One peripheral model connect knows. The table of rows lives beside the pages it names
// (devices/SupportedModels.h).
struct SupportedModel {
    // Makes the model's page for the device at dev_config_path.
    using PageFactory = DevicePage *(*)(const SupportedModel &model, const QString &dev_config_path,
                                        QWidget *parent);

    quint16 vid;
    quint16 pid;
    QString match_id;          // "vid_xxxx&pid_xxxx", lower-case hex
    QString product_name;
    QString config_interface;  // a device path must contain it
    QString update_interface;  // the ZY5's second interface, else empty
    QString icon;
    QString icon_hover;
    PageFactory create_page;
};
