#pragma once
#include <QString>
#include <array>

// One peripheral model connect knows.
struct SupportedModel {
    quint16 vid;
    quint16 pid;
    QString match_id;          // "vid_xxxx&pid_xxxx", lower-case hex
    QString product_name;
    QString config_interface;  // a device path must contain it
    QString update_interface;  // the ZY5's second interface, else empty
    QString icon;
    QString icon_hover;
};

enum ModelKind { Model_QV8 = 0, Model_ZY5 = 1, Model_WK3 = 2 };

// Rows in the order QV8, ZY5, WK3; the index is the model kind.
extern const std::array<SupportedModel, 3> supported_models;
