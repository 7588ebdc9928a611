#pragma once
// The two lists of choices for a mouse button: the mouse functions, and the key
// combinations (nine presets and the custom one of the embedded editor). A row's id is
// the code written to the mouse; row 0 is drawn last in both lists.
#include <QList>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QRadioButton;
class mkey_Edit;

// Unchecks the checked row of a list's exclusive group.
void clear_choice(QButtonGroup *group);

class func_List : public QWidget
{
    Q_OBJECT
public:
    explicit func_List(QWidget *parent = nullptr);

    QStringList texts;
    QButtonGroup *group;
    QList<QRadioButton *> rows;

signals:
    void func_btn_Toggled(int id, bool checked);
};

class combo_List : public QWidget
{
    Q_OBJECT
public:
    explicit combo_List(QWidget *parent = nullptr);

    QStringList texts;
    QButtonGroup *group;
    QList<QRadioButton *> rows;
    mkey_Edit *editor;

signals:
    void combo_btn_Toggled(int id, bool checked);

public slots:
    // Row 0 shows the editor's combination after its own text.
    void get_mkey_value();

private slots:
    // After the editor's save: (0, true) is reported, also when row 0 was already checked.
    void set_combo0_checked();
};
