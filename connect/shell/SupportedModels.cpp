#include "SupportedModels.h"

const std::array<SupportedModel, 3> supported_models = {{
    {0xE4A9, 0x2E1C, "vid_e4a9&pid_2e1c", "塔维精英鼠标", "mi_01", "", ":/img/QV8_icon.png", ":/img/QV8_icon_hover.png"},
    {0xE4A9, 0x9D09, "vid_e4a9&pid_9d09", "塔维游戏鼠标", "mi_01&col03", "mi_01&col02", ":/img/ZY5_icon.png",
     ":/img/ZY5_icon_hover.png"},
    {0xE4A9, 0x507C, "vid_e4a9&pid_507c", "塔维精英键盘", "mi_03", "", ":/img/WK3_icon.png", ":/img/WK3_icon_hover.png"},
}};
