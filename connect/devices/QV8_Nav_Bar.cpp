#include "QV8_Nav_Bar.h"

QV8_Nav_Bar::QV8_Nav_Bar(QWidget *parent)
    : PageNavBar(parent)
{
    add_tab(540, QStringLiteral(":/img/buttons.png"), QStringLiteral(":/img/buttons_selected.png"), 498, tr("按键设置"));
    add_tab(600, QStringLiteral(":/img/dev_config.png"), QStringLiteral(":/img/dev_config_selected.png"), 558,
            tr("设备配置"));
}
