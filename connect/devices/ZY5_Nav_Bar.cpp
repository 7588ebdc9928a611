#include "ZY5_Nav_Bar.h"

ZY5_Nav_Bar::ZY5_Nav_Bar(QWidget *parent)
    : PageNavBar(parent)
{
    add_tab(510, QStringLiteral(":/img/buttons.png"), QStringLiteral(":/img/buttons_selected.png"), 498, tr("按键设置"));
    add_tab(570, QStringLiteral(":/img/leds.png"), QStringLiteral(":/img/leds_selected.png"), 558, tr("灯光设置"));
    add_tab(630, QStringLiteral(":/img/pointer.png"), QStringLiteral(":/img/pointer_selected.png"), 618, tr("指针设置"));
}
