// The printer device context: CreateDC, handles, documents and pages.
#include <cwctype>
#include <set>
#include <string>

#include "internal.h"
#include "printer_device.h"
#include "win32/text.h"

namespace {

// Handles made by ::CreateDC; only these may be deleted by ::DeleteDC.
std::set<CDC*>& MadeHandles()
{
    static std::set<CDC*>* handles = new std::set<CDC*>;
    return *handles;
}

bool SameText(LPCTSTR a, const wchar_t* b)
{
    if (!a)
        return false;
    for (; *a && *b; ++a, ++b)
        if (towupper(*a) != towupper(*b))
            return false;
    return *a == *b;
}

bool PaperGiven(const DEVMODE* dm)
{
    return dm && (dm->dmFields & DM_PAPERWIDTH) && (dm->dmFields & DM_PAPERLENGTH) && dm->dmPaperWidth > 0 &&
           dm->dmPaperLength > 0;
}

// What a DEVMODE changes of a printer's settings.
void ApplyDevMode(const DEVMODE* dm, afxwin::PrinterSetup* setup)
{
    if (!dm)
        return;
    if ((dm->dmFields & DM_COPIES) && dm->dmCopies > 0)
        setup->copies = dm->dmCopies;
    if (dm->dmFields & DM_COLLATE)
        setup->collate = dm->dmCollate != DMCOLLATE_FALSE;
    if ((dm->dmFields & DM_PRINTQUALITY) && dm->dmPrintQuality > 0) {
        setup->dpiX = dm->dmPrintQuality;
        setup->dpiY = dm->dmPrintQuality;
    }
    if ((dm->dmFields & DM_YRESOLUTION) && dm->dmYResolution > 0)
        setup->dpiY = dm->dmYResolution;
    if (PaperGiven(dm)) {
        const double width = dm->dmPaperWidth / 10.0;
        const double height = dm->dmPaperLength / 10.0;
        if (setup->queue.empty() || !afxwin::cups::LookUpMedia(setup->queue, width, height, setup)) {
            // A size the queue does not list goes out as it is; CUPS fits it to the paper.
            setup->media.clear();
            setup->paperWidthMm = width;
            setup->paperHeightMm = height;
            setup->marginLeftMm = setup->marginTopMm = setup->marginRightMm = setup->marginBottomMm = 0;
        }
    }
}

}  // namespace

int afxwin::LivePrinterHandles()
{
    return afxwin::OnUi([] { return static_cast<int>(MadeHandles().size()); });
}

BOOL CDC::CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE* init)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (m_hDC)
            return FALSE;
        afxwin::PrinterSetup setup;
        if (!driver || !*driver || SameText(driver, L"WINSPOOL")) {
            if (!device || !*device || !afxwin::cups::LookUpQueue(win32::Utf8FromWide(device), &setup))
                return FALSE;
        } else if (SameText(driver, L"PDF")) {
            if (!output || !*output)
                return FALSE;
            setup.outputFile = win32::Utf8FromWide(output);
        } else {
            return FALSE;
        }
        ApplyDevMode(init, &setup);
        m_printer = new afxwin::PrinterDevice(setup);
        m_ownsPrinter = true;
        m_hDC = reinterpret_cast<HDC>(this);
        m_logPixels = m_printer->Caps(LOGPIXELSY);
        return TRUE;
    });
}

BOOL CDC::Attach(HDC dc)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!dc || m_hDC)
            return FALSE;
        CDC* source = FromHandle(dc);
        m_hDC = dc;
        m_attached = true;
        m_printer = source->m_printer;
        m_ownsPrinter = false;
        m_dc = m_printer ? m_printer->Dc() : source->m_dc;
        m_ownsDC = false;
        m_logPixels = source->m_logPixels;
        return TRUE;
    });
}

HDC CDC::Detach()
{
    return afxwin::OnUi([&]() -> HDC {
        if (!m_attached)
            return nullptr;
        HDC dc = m_hDC;
        m_hDC = nullptr;
        m_attached = false;
        m_dc = nullptr;
        m_printer = nullptr;
        m_state = State();
        m_savedStates.clear();
        m_bPrinting = FALSE;
        m_logPixels = 96;
        return dc;
    });
}

int CDC::StartDoc(const DOCINFO* info)
{
    return afxwin::OnUi([&]() -> int {
        if (!m_printer || !info || info->lpszOutput)
            return SP_ERROR;
        int job = m_printer->StartDoc(info->lpszDocName ? win32::Utf8FromWide(info->lpszDocName) : std::string());
        m_dc = m_printer->Dc();
        return job;
    });
}

int CDC::StartDoc(LPCTSTR docName)
{
    DOCINFO info{static_cast<int>(sizeof(DOCINFO)), docName, nullptr, nullptr, 0};
    return StartDoc(&info);
}

int CDC::StartPage()
{
    return afxwin::OnUi([&]() -> int { return m_printer ? m_printer->StartPage() : SP_ERROR; });
}

int CDC::EndPage()
{
    return afxwin::OnUi([&]() -> int { return m_printer ? m_printer->EndPage() : SP_ERROR; });
}

int CDC::EndDoc()
{
    return afxwin::OnUi([&]() -> int {
        if (!m_printer)
            return SP_ERROR;
        m_dc = nullptr;
        return m_printer->EndDoc();
    });
}

int CDC::AbortDoc()
{
    return afxwin::OnUi([&]() -> int {
        if (!m_printer)
            return SP_ERROR;
        m_dc = nullptr;
        return m_printer->AbortDoc();
    });
}

BOOL CDC::ResetDC(const DEVMODE* devMode)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_printer || !devMode || m_printer->InDocument())
            return FALSE;
        afxwin::PrinterSetup setup = m_printer->Setup();
        ApplyDevMode(devMode, &setup);
        m_printer->SetSetup(setup);
        m_logPixels = setup.dpiY;
        return TRUE;
    });
}

HDC CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE* init)
{
    return afxwin::OnUi([&]() -> HDC {
        auto* dc = new CDC;
        if (!dc->CreateDC(driver, device, output, init)) {
            delete dc;
            return nullptr;
        }
        MadeHandles().insert(dc);
        return dc->GetSafeHdc();
    });
}

BOOL DeleteDC(HDC dc)
{
    return afxwin::OnUi([&]() -> BOOL {
        CDC* object = CDC::FromHandle(dc);
        if (!dc || MadeHandles().erase(object) == 0)
            return FALSE;
        delete object;
        return TRUE;
    });
}
