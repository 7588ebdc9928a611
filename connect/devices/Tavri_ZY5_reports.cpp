// The ZY5 page's exchanges with the mouse. Showing what it reported blocks the signals of
// the controls, so that reading never writes back.
#include "Tavri_ZY5.h"

#include "ZY5_Btn_Config.h"
#include "ZY5_Led_Config.h"
#include "ZY5_Pointer_Config.h"
#include "Zy5Link.h"
#include "common/ResponsiveWait.h"

#include <QDebug>
#include <QPointer>
#include <QPushButton>

namespace {

constexpr int kRestoreSettleMs = 300;

// The block a read command reports, when the mouse answered with all of it.
template <typename Block>
std::optional<Block> read_block(const QString &path, const QByteArray &request,
                                std::optional<Block> (*parse)(const QByteArray &))
{
    const std::optional<QByteArray> reply = zy5::ask(path, request);
    return reply ? parse(*reply) : std::nullopt;
}

// A block that could not be read leaves the one before.
template <typename Block>
void keep_read(std::optional<Block> &kept, std::optional<Block> read)
{
    if (read)
        kept = read;
}

} // namespace

void Tavri_ZY5::get_dev_path()
{
    m_btnConfig->dev_command_path = dev_command_path;
    m_btnConfig->dev_macro_path = dev_macro_path;
    m_ledConfig->dev_path = dev_command_path;
    m_pointerConfig->dev_path = dev_command_path;
    get_zy5_state();
}

void Tavri_ZY5::get_zy5_state()
{
    keep_read(m_lighting, read_block(dev_command_path, zy5::read_lighting(), &zy5::lighting_in_reply));
    keep_read(m_dpi, read_block(dev_command_path, zy5::read_dpi(), &zy5::dpi_in_reply));
    keep_read(m_reportRate, read_block(dev_command_path, zy5::read_report_rate(), &zy5::report_rate_in_reply));
    update_ui();
}

void Tavri_ZY5::update_ui()
{
    m_ledConfig->get_saved_color();
    if (m_lighting)
        m_ledConfig->show_lighting(*m_lighting);
    if (m_dpi)
        m_pointerConfig->show_dpi(*m_dpi);
    qDebug() << "update ReportRate ";
    if (m_reportRate)
        m_pointerConfig->show_report_rate(*m_reportRate);
}

// The mouse needs a moment after a restore before it answers the re-read. The interface
// stays alive meanwhile, so the page may be gone (returned or unplugged) after it.
void Tavri_ZY5::set_zy5_default()
{
    m_restoreButton->setEnabled(false);
    zy5::tell(dev_command_path, zy5::restore_factory_settings());
    const QPointer<Tavri_ZY5> alive(this);
    wait_processing_events(kRestoreSettleMs);
    if (!alive)
        return;
    get_zy5_state();
    m_restoreButton->setEnabled(true);
}
