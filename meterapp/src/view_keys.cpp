// The meter keys: each press starts a sender for its key.
#include "meterapp/decibar_view.h"

#include "meterapp/key_senders.h"
#include "meterproto/meter_keys.h"

LRESULT CDecibarView::OnMeterKey(WPARAM, LPARAM lParam)
{
    if (!m_bConnected)
        return 1;
    // The sender is given its key and the state at the press, so a later
    // press cannot change which key it serves.
    meterproto::SKeySender sender;
    if (meterproto::BeginKeySender(static_cast<int>(lParam), ReadingNow(), &sender))
        m_pKeySenders->Start(sender);
    return 1;
}
