#include "meterapp/print_rx.h"

#include <cwchar>

CPrintRX::CPrintRX()
    : m_rcMargin(PRINT_MARGIN_LEFT, PRINT_MARGIN_TOP, 0, 0)
{
    for (auto& set : m_fonts)
        for (CFont*& font : set)
            font = new CFont;
}

CPrintRX::~CPrintRX()
{
    for (auto& set : m_fonts)
        for (CFont*& font : set) {
            delete font;
            font = nullptr;
        }
    delete m_pPrintDlg;
    m_pPrintDlg = nullptr;
    // m_dcNamed and then m_dc go with the object; a context still attached to
    // m_dc is deleted by it.
}

int CPrintRX::StartPrinting(LPCTSTR printerName, int copies)
{
    if (m_dc.GetSafeHdc())
        return -1;
    if (!m_pPrintDlg)
        m_pPrintDlg = new CPrintDialog(FALSE, PD_DISABLEPRINTTOFILE, nullptr);

    if (!printerName) {
        if (m_pPrintDlg->DoModal() == IDCANCEL)
            return -1;
        m_hPrinterDC = m_pPrintDlg->GetPrinterDC();
        m_nCopies = m_pPrintDlg->GetCopies();
        m_bDialogDC = true;
    } else {
        // Only one named context is kept: the one of an earlier named start goes.
        m_dcNamed.DeleteDC();
        if (!m_dcNamed.CreateDC(nullptr, printerName, nullptr, nullptr)) {
            m_nError = PRINT_ERROR_CREATE_DC;
            m_hPrinterDC = nullptr;
            return -1;
        }
        m_hPrinterDC = m_dcNamed.GetSafeHdc();
        m_nCopies = copies;
        m_bDialogDC = false;
    }
    if (!m_dc.Attach(m_hPrinterDC))
        return -1;
    m_dc.m_bPrinting = TRUE;

    // The copy count travels with the job: the print system makes the copies.
    DEVMODE copiesOnly {};
    copiesOnly.dmFields = DM_COPIES;
    copiesOnly.dmCopies = static_cast<short>(m_nCopies > 0 ? m_nCopies : 1);
    m_dc.ResetDC(&copiesOnly);

    delete m_pPrintDlg;
    m_pPrintDlg = nullptr;

    LOGFONT base {};
    base.lfHeight = -MulDiv(BASE_FONT_POINTS, m_dc.GetDeviceCaps(LOGPIXELSY), 72);
    base.lfWeight = FW_NORMAL;
    base.lfCharSet = ANSI_CHARSET;
    base.lfPitchAndFamily = FIXED_PITCH;
    std::wcsncpy(base.lfFaceName, L"Arial", LF_FACESIZE - 1);
    CreateFontSet(&base);
    return 0;
}

int CPrintRX::CreateFontSet(LOGFONT* font)
{
    if (m_nFontSets >= MAX_FONT_SETS || !font)
        return -1;
    CFont** set = m_fonts[m_nFontSets];
    set[0]->CreateFontIndirect(font);
    font->lfWeight = FW_HEAVY;
    set[1]->CreateFontIndirect(font);
    font->lfHeight = -MulDiv(LARGE_FONT_POINTS, m_dc.GetDeviceCaps(LOGPIXELSY), 72);
    font->lfWeight = FW_NORMAL;
    set[2]->CreateFontIndirect(font);
    font->lfWeight = FW_HEAVY;
    set[3]->CreateFontIndirect(font);
    ++m_nFontSets;
    return 0;
}

int CPrintRX::StartDoc()
{
    CString title = AfxLoadString(AFX_IDS_APP_TITLE);
    DOCINFO info { static_cast<int>(sizeof(DOCINFO)), title, nullptr, nullptr, 0 };
    if (m_dc.StartDoc(&info) == SP_ERROR)
        return -1;
    m_nPageWidth = m_dc.GetDeviceCaps(HORZRES);
    m_nPageHeight = m_dc.GetDeviceCaps(VERTRES);
    return 0;
}

int CPrintRX::StartPage()
{
    if (m_dc.StartPage() < 0) {
        m_nError = PRINT_ERROR_START_PAGE;
        return -1;
    }
    m_nTopMarginPx = MulDiv(m_rcMargin.top, m_dc.GetDeviceCaps(LOGPIXELSY), 72);
    m_nLeftMarginPx = MulDiv(m_rcMargin.left, m_dc.GetDeviceCaps(LOGPIXELSX), 72);
    return 0;
}

int CPrintRX::EndPage()
{
    return m_dc.EndPage();
}

int CPrintRX::EndPrinting()
{
    const bool delivered = m_dc.EndDoc() > 0;
    ReleaseJobDC();
    return delivered ? 0 : -1;
}

int CPrintRX::AbortPrinting()
{
    m_dc.AbortDoc();
    ReleaseJobDC();
    return 0;
}

void CPrintRX::ReleaseJobDC()
{
    HDC dc = m_dc.Detach();
    // The dialog's context belongs to the job; a named one stays with m_dcNamed.
    if (m_bDialogDC && dc)
        ::DeleteDC(dc);
    if (m_bDialogDC)
        m_hPrinterDC = nullptr;
    m_bDialogDC = false;
}
