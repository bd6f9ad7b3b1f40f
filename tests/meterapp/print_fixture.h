// Printing tests: record arrays to print, and a user who answers the print
// dialog by choosing a PDF printer (or cancelling) and notes every box.
#pragma once

#include "meterapp/print_pages.h"

#include <afx/testing.h>

#include <string>
#include <vector>

#include "support/pdftext.h"

// Owns its records: `count` samples one second apart from 05-03-2017,14:07:09,
// levels 40.00, 40.25, ... wrapping at 100, "dBA", at `interval` seconds.
class RecordSet {
public:
    explicit RecordSet(int count, double interval = 0.5);
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;
    CObArray& Array() { return m_records; }
    const CObjData& At(int i) const { return *RecordAt(m_records, i); }
    void Add(double value, const CString& dateTime);

private:
    CObArray m_records;
};

// The graph page of a graph control showing `records` in state `view`,
// `windowWidth` pixels wide on screen, printed as the control prints it.
void PrintGraphOf(CPrintRX& job, const CObArray& records, const SGraphState& view, int windowWidth,
    const SStatInfo& stat);

// The statistics the view would hold for those records (start, max, min).
SStatInfo StatisticsOf(const RecordSet& records, int count);

// Answers modal boxes as a user would: the print dialog with the PDF printer
// at `pdfPath`, or the CUPS queue `queue` (or Cancel), message boxes with OK; keeps what was asked.
struct PrintUser {
    std::string pdfPath;
    std::wstring queue;   // when set, the user picks this CUPS queue instead
    int dpi = 300;
    int copies = 1;
    bool cancel = false;
    std::vector<AfxModalRequest> requests;
    std::vector<std::wstring> messages;
    std::vector<bool> waitCursorAtMessage;
    std::vector<CPrintDialog*> dialogs;

    PrintUser();
    ~PrintUser();
    int PrintDialogs() const;
};

// The print font's line height N at `dpi` on an A4 page, as a printer context
// measures it.
int PrintLineHeight(int dpi);

// Printer pixels at `dpi` to PDF points and back.
inline double ToPoints(int pixels, int dpi) { return pixels * 72.0 / dpi; }
inline double ToPixels(double points, int dpi) { return points * dpi / 72.0; }
