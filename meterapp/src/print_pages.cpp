// What both printouts share: the job around their pages, the print font, the
// time line and the numbers.
#include "meterapp/print_pages.h"

#include <ctime>

const wchar_t* const kPrintFailedText = L"The printer could not print the document.";

namespace {

// EndPrinting, or AbortPrinting when the pages were not printed; true when
// the document was printed.
bool FinishPrintJob(CPrintRX& job, bool pagesPrinted)
{
    if (!pagesPrinted) {
        job.AbortPrinting();
        return false;
    }
    return job.EndPrinting() == 0;
}

} // namespace

void RunPrintJob(CPrintRX& job, const CObArray& records, const std::function<bool(CPrintRX& job)>& pages)
{
    if (records.GetSize() == 0)
        return;
    if (job.StartPrinting(nullptr, 1) == -1)
        return;
    bool printed = false;
    {
        CWaitCursor wait;
        bool ok = job.StartDoc() == 0;
        if (ok) {
            job.m_dc.SetMapMode(MM_TEXT);
            ok = pages(job);
        }
        printed = FinishPrintJob(job, ok);
    }
    if (!printed)
        AfxMessageBox(kPrintFailedText, MB_OK | MB_ICONEXCLAMATION);
}

BOOL CreatePrintFont(CFont& font, int rowUnit)
{
    return font.CreateFont(rowUnit, 0, 0, 0, 200, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
}

CString PrintTimeNow()
{
    std::tm local {};
    CTime(std::time(nullptr)).GetLocalTm(&local);
    return PrintTimeText(local);
}

CString PrintNumber(LPCWSTR format, double value)
{
    CString text;
    text.Format(format, value);
    return text;
}
