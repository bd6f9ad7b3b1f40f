// The print dialog: GTK's print dialog, and the printer context of its choice.
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "internal.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

namespace {

short Tenths(double mm)
{
    return static_cast<short>(std::lround(mm * 10.0));
}

// GTK's own "Print to File" printer: its output is a file named in the settings.
bool IsFilePrinter(GtkPrinter* printer)
{
    GtkPrintBackend* backend = gtk_printer_get_backend(printer);
    return backend && std::strcmp(G_OBJECT_TYPE_NAME(backend), "GtkPrintBackendFile") == 0;
}

CString FileOfUri(const char* uri)
{
    if (!uri)
        return CString();
    gchar* path = g_filename_from_uri(uri, nullptr, nullptr);
    CString result = path ? afxwin::FromWx(wxString::FromUTF8(path)) : CString();
    g_free(path);
    return result;
}

// Shows GTK's dialog; on Print, leaves the user's choice in the dialog object.
bool RunGtkDialog(CPrintDialog* d, wxWindow* parent)
{
    GtkWindow* owner = nullptr;
    if (parent && parent->GetHandle())
        owner = GTK_WINDOW(gtk_widget_get_toplevel(parent->GetHandle()));
    GtkWidget* widget = gtk_print_unix_dialog_new("Print", owner);
    GtkPrintUnixDialog* dialog = GTK_PRINT_UNIX_DIALOG(widget);
    // Pages are drawn as PDF: "Print to File" offers that format alone.
    gtk_print_unix_dialog_set_manual_capabilities(dialog,
        static_cast<GtkPrintCapabilities>(GTK_PRINT_CAPABILITY_COPIES | GTK_PRINT_CAPABILITY_COLLATE |
                                          GTK_PRINT_CAPABILITY_GENERATE_PDF));
    gtk_print_unix_dialog_set_embed_page_setup(dialog, TRUE);
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_n_copies(settings, afxwin::Internals::PrintRecord(d).nCopies > 0 ? afxwin::Internals::PrintRecord(d).nCopies : 1);
    gtk_print_unix_dialog_set_settings(dialog, settings);
    g_object_unref(settings);
    gtk_window_set_modal(GTK_WINDOW(widget), TRUE);

    const bool chosen = gtk_dialog_run(GTK_DIALOG(widget)) == GTK_RESPONSE_OK;
    GtkPrinter* printer = chosen ? gtk_print_unix_dialog_get_selected_printer(dialog) : nullptr;
    if (printer) {
        GtkPrintSettings* result = gtk_print_unix_dialog_get_settings(dialog);
        GtkPageSetup* page = gtk_print_unix_dialog_get_page_setup(dialog);
        DEVMODE& dm = afxwin::Internals::PrintMode(d);
        dm = DEVMODE{};
        dm.dmFields = DM_COPIES | DM_COLLATE;
        dm.dmCopies = static_cast<short>(std::max(1, gtk_print_settings_get_n_copies(result)));
        dm.dmCollate = gtk_print_settings_get_collate(result) ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
        if (page) {
            dm.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
            dm.dmPaperWidth = Tenths(gtk_page_setup_get_paper_width(page, GTK_UNIT_MM));
            dm.dmPaperLength = Tenths(gtk_page_setup_get_paper_height(page, GTK_UNIT_MM));
        }
        if (gtk_print_settings_has_key(result, GTK_PRINT_SETTINGS_RESOLUTION)) {
            dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
            dm.dmPrintQuality = static_cast<short>(gtk_print_settings_get_resolution_x(result));
            dm.dmYResolution = static_cast<short>(gtk_print_settings_get_resolution_y(result));
        }
        afxwin::Internals::PrintRecord(d).nCopies = static_cast<WORD>(dm.dmCopies);
        if (dm.dmCollate == DMCOLLATE_TRUE)
            afxwin::Internals::PrintRecord(d).Flags |= PD_COLLATE;
        else
            afxwin::Internals::PrintRecord(d).Flags &= ~PD_COLLATE;
        if (IsFilePrinter(printer)) {
            afxwin::Internals::PrintDevice(d).Empty();
            afxwin::Internals::PrintFile(d) = FileOfUri(gtk_print_settings_get(result, GTK_PRINT_SETTINGS_OUTPUT_URI));
        } else {
            afxwin::Internals::PrintDevice(d) = afxwin::FromWx(wxString::FromUTF8(gtk_printer_get_name(printer)));
            afxwin::Internals::PrintFile(d).Empty();
        }
        g_object_unref(result);
    }
    gtk_widget_destroy(widget);
    return printer != nullptr;
}

}  // namespace

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : CDialog(0, parent)
{
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
    m_pd.nFromPage = m_pd.nToPage = m_pd.nMinPage = m_pd.nMaxPage = 1;
}

INT_PTR CPrintDialog::DoModal()
{
    return afxwin::OnUi([&]() -> INT_PTR {
        m_pd.hDC = nullptr;
        if (afxwin::HasModalAnswerer()) {
            AfxModalRequest request{AfxModalRequest::PrintDialog, L"Print", L"", 0, this};
            int answer = IDCANCEL;
            afxwin::AnswerModal(request, &answer);
            if (answer != IDOK)
                return IDCANCEL;
        } else {
            wxWindow* parent =
                m_pParentWnd ? afxwin::Internals::Wx(m_pParentWnd) : (AfxGetMainWnd() ? afxwin::Internals::Wx(AfxGetMainWnd()) : nullptr);
            if (!RunGtkDialog(this, parent))
                return IDCANCEL;
        }
        if (m_pd.Flags & PD_RETURNDC)
            MakePrinterDC();
        return IDOK;
    });
}

void CPrintDialog::MakePrinterDC()
{
    if (!m_outputFile.IsEmpty())
        m_pd.hDC = ::CreateDC(L"PDF", nullptr, m_outputFile, &m_devMode);
    else if (!m_deviceName.IsEmpty())
        m_pd.hDC = ::CreateDC(nullptr, m_deviceName, nullptr, &m_devMode);
}

int CPrintDialog::GetCopies() const
{
    if ((m_pd.Flags & PD_USEDEVMODECOPIES) && (m_devMode.dmFields & DM_COPIES) && m_devMode.dmCopies > 0)
        return m_devMode.dmCopies;
    return m_pd.nCopies;
}
