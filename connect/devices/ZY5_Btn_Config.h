#pragma once
#include <QWidget>

// The ZY5 button settings. For now only the pictures of the mouse; the buttons and their
// assignment dialog come with the button editors.
class ZY5_Btn_Config : public QWidget
{
    Q_OBJECT
public:
    explicit ZY5_Btn_Config(QWidget *parent = nullptr);

    // Set by the device page.
    QString dev_command_path;
    QString dev_macro_path;
};
