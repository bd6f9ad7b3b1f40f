// The application's printer job: a printer device context from the print
// dialog or by printer name, a document named after the application, its
// pages, and a table of font sets made at the printer's resolution.
#pragma once

#include <afx/afxwin.h>
#include <afx/commdlg.h>

constexpr int PRINT_MARGIN_LEFT = 35;       // points
constexpr int PRINT_MARGIN_TOP = 80;        // points
constexpr int MAX_FONT_SETS = 10;
constexpr int BASE_FONT_POINTS = 13;
constexpr int LARGE_FONT_POINTS = 25;
constexpr int PRINT_ERROR_START_PAGE = 7;
constexpr int PRINT_ERROR_CREATE_DC = 8;

// One job at a time, on the user-interface thread: StartPrinting, StartDoc,
// StartPage / drawing on m_dc / EndPage for each page, EndPrinting (or
// AbortPrinting when the job cannot go on). Operations return 0 on success
// and -1 on failure, EndPage the device's result.
class CPrintRX {
public:
    CPrintRX();
    // Deletes the fonts, a held dialog and both device contexts (a job that
    // never ended is abandoned with its context).
    virtual ~CPrintRX();

    CPrintRX(const CPrintRX&) = delete;
    CPrintRX& operator=(const CPrintRX&) = delete;

    // printerName null: the print dialog asks the user (a cancel returns -1
    // and keeps the dialog for the next call). Otherwise a context on that
    // CUPS queue (-1 and m_nError PRINT_ERROR_CREATE_DC when it cannot be
    // made); an earlier named context is released first. The copy count goes
    // to the print system with the job. -1 also while a job is still open.
    // On success m_dc holds the job's context, marked printing, and the next
    // font set exists (up to MAX_FONT_SETS).
    int StartPrinting(LPCTSTR printerName, int copies);
    // Font set m_nFontSets from `font`: as given, bold, 25 points, 25 points
    // bold. -1 once MAX_FONT_SETS exist. Leaves `font` at 25 points, bold.
    int CreateFontSet(LOGFONT* font);
    // Starts the document, named after the application title, and reads the
    // page size.
    int StartDoc();
    // -1 and m_nError PRINT_ERROR_START_PAGE when the page cannot start.
    int StartPage();
    int EndPage();
    // Ends the document, so it is printed, and releases the job's context
    // (the dialog's is deleted). -1 when the document could not be delivered.
    int EndPrinting();
    // Abandons the document (nothing of it is printed) and releases the
    // context as EndPrinting does.
    int AbortPrinting();

    CDC m_dc;
    CRect m_rcMargin;
    HDC m_hPrinterDC = nullptr;
    CDC m_dcNamed;
    CFont* m_fonts[MAX_FONT_SETS][4];
    int m_nFontSets = 0;
    int m_nCopies = 1;
    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nTopMarginPx = 0;
    int m_nLeftMarginPx = 0;
    int m_nError = 0;
    CPrintDialog* m_pPrintDlg = nullptr;

private:
    void ReleaseJobDC();

    bool m_bDialogDC = false;   // m_hPrinterDC came from the dialog: ours to delete
};
