#include "SupportedModels.h"

#include "Tavri_QV8.h"
#include "Tavri_WK3.h"
#include "Tavri_ZY5.h"

namespace {

template <typename Page>
DevicePage *create_config_page(const SupportedModel &, const QString &dev_config_path, QWidget *parent)
{
    auto *page = new Page(parent);
    page->dev_config_path = dev_config_path;
    return page;
}

// The ZY5 page also gets its second interface: the same device, the update_interface
// collection, one instance further.
DevicePage *create_zy5_page(const SupportedModel &model, const QString &dev_config_path, QWidget *parent)
{
    auto *page = new Tavri_ZY5(parent);
    page->dev_command_path = dev_config_path;
    page->dev_macro_path = QString(dev_config_path)
                               .replace(model.config_interface, model.update_interface)
                               .replace(QStringLiteral("0001#"), QStringLiteral("0002#"));
    return page;
}

} // namespace

const std::array<SupportedModel, 3> supported_models = {{
    {0xE4A9, 0x2E1C, "vid_e4a9&pid_2e1c", "塔维精英鼠标", "mi_01", "", ":/img/QV8_icon.png", ":/img/QV8_icon_hover.png",
     create_config_page<Tavri_QV8>},
    {0xE4A9, 0x9D09, "vid_e4a9&pid_9d09", "塔维游戏鼠标", "mi_01&col03", "mi_01&col02", ":/img/ZY5_icon.png",
     ":/img/ZY5_icon_hover.png", create_zy5_page},
    {0xE4A9, 0x507C, "vid_e4a9&pid_507c", "塔维精英键盘", "mi_03", "", ":/img/WK3_icon.png", ":/img/WK3_icon_hover.png",
     create_config_page<Tavri_WK3>},
}};

const SupportedModel *model_of_path(const QString &dev_config_path)
{
    for (const SupportedModel &row : supported_models)
        if (dev_config_path.contains(row.match_id))
            return &row;
    return nullptr;
}
