// The "Real-Time Setup" dialog (148): the number of data points a recording
// may hold and its sampling interval, with a preview of how long it lasts and
// when it would start and end, following the clock.
#pragma once

#include <afx/afxwin.h>

class CRTSetup : public CDialog {
    DECLARE_DYNAMIC(CRTSetup)
public:
    // The caller passes no parent: the main window owns the dialog.
    explicit CRTSetup(CWnd* pParent = nullptr);
    ~CRTSetup() override = default;

    // Index 0..9 of the chosen interval (0.1 s .. 10 s, the view's rate list
    // order); set when Start is pressed.
    int m_nRateIndex = 0;
    // Data points, exchanged with the edit box; 1 to 40000 when the dialog
    // ends with OK. The caller presets it.
    int m_nDataPoints = 0;
    CEdit m_editDuration;

    // Writes the duration, start and end of a recording of m_nDataPoints (as
    // last exchanged) at the chosen interval, starting now.
    void UpdatePreview();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Fills the interval list ("0.5" chosen, whatever the view's interval),
    // shows the preview and starts the one-second preview timer.
    BOOL OnInitDialog() override;

    void OnStart();
    void OnSelchangeRate();
    void OnChangeDataPoints();
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    void ShowPreview(double interval);
};
