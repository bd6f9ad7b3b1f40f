// The wait box of a logger download (dialog 146): a progress bar and the
// words "Accepting Data now! Waiting.......". Run modally; the download's end
// closes it through Finish, the user through Esc or the system's close command.
#pragma once

#include <afx/afxwin.h>

class CLogState : public CDialog {
    DECLARE_DYNAMIC(CLogState)
public:
    explicit CLogState(CWnd* parent = nullptr);
    ~CLogState() override;

    // Closes the box as its close command does (it ends with IDCANCEL). On a
    // box that is not shown nothing happens.
    void Finish();
    // The progress bar shows `received` of `expected` bytes; an expected count
    // below 0 shows an empty bar. Nothing happens while the box is not shown.
    void ShowProgress(int expected, int received);

    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The hidden Cancel button, Esc and the close command: ends the box.
    void OnCancelButton();

    DECLARE_MESSAGE_MAP()
};
