#include "meterapp/port_dlg.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CPort, CDialog)

BEGIN_MESSAGE_MAP(CPort, CDialog)
END_MESSAGE_MAP()

CPort::CPort(CWnd* pParent)
    : CDialog(IDD_PORT, pParent)
{
}

void CPort::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PORT_NUMBER, m_nPort);
    DDV_MinMaxUInt(pDX, m_nPort, 0, 256);
}
