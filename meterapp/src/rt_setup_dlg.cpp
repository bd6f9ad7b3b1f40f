#include "meterapp/rt_setup_dlg.h"

#include "meterdata/sample_rates.h"
#include "meterdata/setup_preview.h"
#include "resource.h"

#include <ctime>

namespace {

const UINT_PTR PREVIEW_TIMER = 1;
const UINT kPreviewPeriodMs = 1000;
const int kMinDataPoints = 1;
const int kMaxDataPoints = 40000;

} // namespace

IMPLEMENT_DYNAMIC(CRTSetup, CDialog)

BEGIN_MESSAGE_MAP(CRTSetup, CDialog)
    ON_BN_CLICKED(IDOK, &CRTSetup::OnStart)
    ON_CBN_SELCHANGE(IDC_RATE, &CRTSetup::OnSelchangeRate)
    ON_EN_CHANGE(IDC_DATA_POINTS, &CRTSetup::OnChangeDataPoints)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CRTSetup::CRTSetup(CWnd* pParent)
    : CDialog(IDD_RTSETUP, pParent)
{
}

void CRTSetup::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DATA_POINTS, m_nDataPoints);
    DDV_MinMaxInt(pDX, m_nDataPoints, kMinDataPoints, kMaxDataPoints);
    DDX_Control(pDX, IDC_DURATION, m_editDuration);
}

// Inserted by position so that each interval keeps its index although the
// list has the sorted style: the view's rate list uses the same indices.
BOOL CRTSetup::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* rates = static_cast<CComboBox*>(GetDlgItem(IDC_RATE))) {
        for (const SSampleRate& rate : kSampleRates)
            rates->InsertString(-1, rate.setupText);
        rates->SetCurSel(kDefaultSampleRate);
    }
    ShowPreview(kSampleRates[kDefaultSampleRate].seconds);
    SetTimer(PREVIEW_TIMER, kPreviewPeriodMs, nullptr);
    return TRUE;
}

void CRTSetup::ShowPreview(double interval)
{
    const SSetupPreview preview = ComputeSetupPreview(m_nDataPoints, interval, std::time(nullptr));
    m_editDuration.SetWindowText(preview.duration);
    SetDlgItemText(IDC_START_AT, preview.start);
    SetDlgItemText(IDC_END_AT, preview.end);
}

void CRTSetup::UpdatePreview()
{
    auto* rates = static_cast<CComboBox*>(GetDlgItem(IDC_RATE));
    const int index = rates ? rates->GetCurSel() : CB_ERR;
    if (index < 0 || index >= kSampleRateCount)
        return;
    ShowPreview(kSampleRates[index].seconds);
}

void CRTSetup::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == PREVIEW_TIMER)
        UpdatePreview();
    CDialog::OnTimer(nIDEvent);
}

// A refused text leaves the member as the exchange left it (its earlier value
// for a text that is no integer, the refused number otherwise); the preview
// follows the member and the field is written back from it.
void CRTSetup::OnChangeDataPoints()
{
    UpdateData(TRUE);
    UpdatePreview();
    UpdateData(FALSE);
}

void CRTSetup::OnSelchangeRate()
{
    UpdateData(TRUE);
    UpdatePreview();
    UpdateData(FALSE);
}

void CRTSetup::OnStart()
{
    if (auto* rates = static_cast<CComboBox*>(GetDlgItem(IDC_RATE)))
        m_nRateIndex = rates->GetCurSel();
    CDialog::OnOK();
}
