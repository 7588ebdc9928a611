#include "FunctionLists.h"

#include "common/SharedStyles.h"
#include "mkey_Edit.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

constexpr int kRowWidth = 275;
constexpr int kRowHeight = 34;

// One radio button per text, ids in text order; row 0 below the others.
void add_rows(QWidget *list, const QStringList &texts, QButtonGroup *group, QList<QRadioButton *> *rows)
{
    const int count = texts.size();
    for (int id = 0; id < count; ++id) {
        auto *row = new QRadioButton(texts[id], list);
        const int place = id == 0 ? count - 1 : id - 1;
        row->setGeometry(0, kRowHeight * place, kRowWidth, kRowHeight);
        row->setStyleSheet(style_radio_button);
        rows->append(row);
        group->addButton(row, id);
    }
}

} // namespace

void clear_choice(QButtonGroup *group)
{
    group->setExclusive(false);
    if (QAbstractButton *checked = group->checkedButton())
        checked->setChecked(false);
    group->setExclusive(true);
}

func_List::func_List(QWidget *parent)
    : QWidget(parent)
{
    texts << tr("禁用") << tr("单击左键") << tr("单击右键") << tr("单击中键") << tr("后退") << tr("前进")
          << tr("提高DPI") << tr("降低DPI") << tr("瞄准键") << tr("向左滚动") << tr("向右滚动");
    setFixedSize(kRowWidth, kRowHeight * texts.size());
    group = new QButtonGroup(this);
    add_rows(this, texts, group, &rows);
    connect(group, &QButtonGroup::idToggled, this, &func_List::func_btn_Toggled);
}

combo_List::combo_List(QWidget *parent)
    : QWidget(parent)
{
    texts << tr("自定义组合键:") << tr("关闭窗口(ALT+F4)") << tr("显示桌面(WIN+D)")
          << tr("浏览器中的下一个标签(Ctrl+Tab)") << tr("浏览器中的上一个标签(Ctrl+Shift+Tab)")
          << tr("剪切(Ctrl+X)") << tr("粘贴(Ctrl+V)") << tr("撤销(Ctrl+Z)") << tr("重做(Ctrl+Y)")
          << tr("复制(Ctrl+C)");
    setFixedSize(kRowWidth, kRowHeight * texts.size() + 60);
    group = new QButtonGroup(this);
    add_rows(this, texts, group, &rows);
    connect(group, &QButtonGroup::idToggled, this, &combo_List::combo_btn_Toggled);

    editor = new mkey_Edit(this);
    editor->setGeometry(0, kRowHeight * 10, 242, 60);
    connect(editor, &mkey_Edit::mkey_save_clicked, this, &combo_List::set_combo0_checked);
}

void combo_List::get_mkey_value()
{
    rows[0]->setText(tr("自定义组合键:") + editor->text());
}

void combo_List::set_combo0_checked()
{
    if (rows[0]->isChecked())
        emit combo_btn_Toggled(0, true);
    else
        rows[0]->setChecked(true);
}
