#pragma once
#include <QAbstractButton>
#include <QButtonGroup>

// Checks the group's button of the given id; an id the group lacks leaves none checked.
// Callers block the group's signals when the choice only shows device state.
inline void show_choice(QButtonGroup *group, int id)
{
    if (QAbstractButton *button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    if (QAbstractButton *checked = group->checkedButton())
        checked->setChecked(false);
    group->setExclusive(true);
}
