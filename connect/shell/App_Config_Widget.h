#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

// The software page: version, the hook for an available update, and a hidden language choice.
class App_Config_Widget : public QWidget
{
    Q_OBJECT
public:
    explicit App_Config_Widget(QWidget *parent = nullptr);

    QPushButton *version_button() const { return m_versionButton; }
    QLabel *update_marker() const { return m_updateMarker; }
    QComboBox *language_box() const { return m_languageBox; }
    QPushButton *return_button() const { return m_returnButton; }

private:
    void add_panel();
    void add_language_choice();

    QPushButton *m_versionButton;
    QLabel *m_updateMarker;
    QComboBox *m_languageBox;
    QPushButton *m_returnButton;
};
