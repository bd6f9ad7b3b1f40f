#include "meterapp/log_state.h"

#include "resource.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CLogState, CDialog)

BEGIN_MESSAGE_MAP(CLogState, CDialog)
    ON_BN_CLICKED(IDCANCEL, &CLogState::OnCancelButton)
END_MESSAGE_MAP()

CLogState::CLogState(CWnd* parent)
    : CDialog(IDD_LOGSTATE, parent)
{
}

CLogState::~CLogState() = default;

void CLogState::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CLogState::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CLogState::OnCancelButton()
{
    OnCancel();
}

void CLogState::Finish()
{
    if (GetSafeHwnd())
        SendMessage(WM_CLOSE, 0, 0);
}

void CLogState::ShowProgress(int expected, int received)
{
    if (!m_progress.GetSafeHwnd())
        return;
    m_progress.SetRange32(0, std::max(expected, 0));
    m_progress.SetPos(received);
}
