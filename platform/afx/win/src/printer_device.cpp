#include "printer_device.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "internal.h"
#include "pdf_copies.h"
#include "printer_text.h"
#include "win32/files.h"
#include "win32/internal.h"

#include <wx/dcgraph.h>
#include <wx/graphics.h>

namespace afxwin {

namespace {

const double kMmPerInch = 25.4;
const double kPointsPerInch = 72.0;

int MmToPixels(double mm, int dpi)
{
    return static_cast<int>(std::lround(mm / kMmPerInch * dpi));
}

double MmToPoints(double mm)
{
    return mm / kMmPerInch * kPointsPerInch;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length)
{
    FILE* file = static_cast<FILE*>(closure);
    return std::fwrite(data, 1, length, file) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// A temporary file in the temporary folder, opened for writing; its path in
// *path.
FILE* OpenTemporary(std::string* path)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/afx-print-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = ::mkstemp(buffer.data());
    if (fd < 0)
        return nullptr;
    FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(buffer.data());
        return nullptr;
    }
    *path = buffer.data();
    return file;
}

// A stream of its own on the output file's descriptor.
FILE* StreamOn(const win32::ReplacementFile& output)
{
    const int fd = ::dup(win32::FileInternals::Descriptor(output));
    if (fd < 0)
        return nullptr;
    FILE* file = ::fdopen(fd, "wb");
    if (!file)
        ::close(fd);
    return file;
}

// The copy maker, from the module beside the program, opened the first time
// a document asks for copies; null when it cannot be opened.
decltype(&afx_write_pdf_copies) CopyMaker()
{
    static decltype(&afx_write_pdf_copies) const maker = []() -> decltype(&afx_write_pdf_copies) {
        char self[PATH_MAX];
        const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0)
            return nullptr;
        std::string path(self, static_cast<size_t>(length));
        path = path.substr(0, path.rfind('/') + 1) + AFX_PDF_COPIES_MODULE;
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        return module ? reinterpret_cast<decltype(&afx_write_pdf_copies)>(dlsym(module, "afx_write_pdf_copies"))
                      : nullptr;
    }();
    return maker;
}

bool WriteCopies(const std::string& pdf, FILE* out, int copies, bool collate)
{
    const auto write = CopyMaker();
    return write && write(pdf.c_str(), out, copies, collate ? 1 : 0) != 0;
}

}  // namespace

struct PrinterDevice::Surface {
    FILE* file = nullptr;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;

    bool Ok() const
    {
        return surface && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && cr &&
               cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    }
    // Finishes the PDF and closes the file; false when anything failed.
    bool Close()
    {
        bool ok = Ok();
        if (cr)
            cairo_destroy(cr);
        cr = nullptr;
        if (surface) {
            cairo_surface_finish(surface);
            ok = ok && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
            cairo_surface_destroy(surface);
        }
        surface = nullptr;
        if (file) {
            ok = std::fflush(file) == 0 && ok;
            ok = std::fclose(file) == 0 && ok;
        }
        file = nullptr;
        return ok;
    }
    ~Surface() { Close(); }
};

PrinterDevice::PrinterDevice(const PrinterSetup& setup)
{
    SetSetup(setup);
}

void PrinterDevice::SetSetup(const PrinterSetup& setup)
{
    m_setup = setup;
    if (m_setup.dpiX <= 0)
        m_setup.dpiX = 300;
    if (m_setup.dpiY <= 0)
        m_setup.dpiY = m_setup.dpiX;
    if (m_setup.copies < 1)
        m_setup.copies = 1;
}

PrinterDevice::~PrinterDevice()
{
    if (m_inDocument)
        AbortDoc();
}

int PrinterDevice::Caps(int index) const
{
    const PrinterSetup& s = m_setup;
    switch (index) {
    case LOGPIXELSX: return s.dpiX;
    case LOGPIXELSY: return s.dpiY;
    case HORZRES: return MmToPixels(s.paperWidthMm - s.marginLeftMm - s.marginRightMm, s.dpiX);
    case VERTRES: return MmToPixels(s.paperHeightMm - s.marginTopMm - s.marginBottomMm, s.dpiY);
    case HORZSIZE: return static_cast<int>(s.paperWidthMm - s.marginLeftMm - s.marginRightMm);
    case VERTSIZE: return static_cast<int>(s.paperHeightMm - s.marginTopMm - s.marginBottomMm);
    case PHYSICALWIDTH: return MmToPixels(s.paperWidthMm, s.dpiX);
    case PHYSICALHEIGHT: return MmToPixels(s.paperHeightMm, s.dpiY);
    case PHYSICALOFFSETX: return MmToPixels(s.marginLeftMm, s.dpiX);
    case PHYSICALOFFSETY: return MmToPixels(s.marginTopMm, s.dpiY);
    case BITSPIXEL: return 24;
    default: return 0;
    }
}

int PrinterDevice::StartDoc(const std::string& title)
{
    if (m_inDocument)
        return SP_ERROR;
    m_title = title;
    m_pages = 0;
    m_surface = std::make_unique<Surface>();
    const bool toFile = m_setup.queue.empty();
    if (toFile && m_setup.outputFile.empty())
        return SP_ERROR;
    // The file is refused now, before anything is drawn, where a save would
    // refuse it: a pipe, a device, a file this user may not write.
    if (toFile) {
        m_output = std::make_unique<win32::ReplacementFile>();
        if (!m_output->Open(m_setup.outputFile)) {
            Discard();
            return SP_ERROR;
        }
    }
    // Copies are made from the finished document, which needs a file of its own.
    m_spoolTemporary = !toFile || m_setup.copies > 1;
    m_surface->file = m_spoolTemporary ? OpenTemporary(&m_spoolPath) : StreamOn(*m_output);
    if (!m_surface->file) {
        Discard();
        return SP_ERROR;
    }
    m_surface->surface = cairo_pdf_surface_create_for_stream(&WriteToFile, m_surface->file,
        MmToPoints(m_setup.paperWidthMm), MmToPoints(m_setup.paperHeightMm));
    m_surface->cr = cairo_create(m_surface->surface);
    if (!m_surface->Ok()) {
        Discard();
        return SP_ERROR;
    }
    cairo_pdf_surface_set_metadata(m_surface->surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    // One unit is one printer pixel, and (0, 0) the corner of the printable area.
    cairo_t* cr = m_surface->cr;
    cairo_scale(cr, kPointsPerInch / m_setup.dpiX, kPointsPerInch / m_setup.dpiY);
    cairo_translate(cr, Caps(PHYSICALOFFSETX), Caps(PHYSICALOFFSETY));
    cairo_rectangle(cr, 0, 0, Caps(HORZRES), Caps(VERTRES));
    cairo_clip(cr);
    if (!toFile) {
        m_job = cups::CreateJob(m_setup, title);
        if (m_job <= 0) {
            Discard();
            return SP_ERROR;
        }
    }
    wxGraphicsContext* gc = wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr);
    if (!gc) {
        Discard();
        return SP_ERROR;
    }
    m_dc = std::make_unique<wxGCDC>(gc);
    m_text = std::make_unique<PrinterText>(cr);
    m_inDocument = true;
    m_inPage = false;
    return toFile ? 1 : m_job;
}

int PrinterDevice::StartPage()
{
    if (!m_inDocument || m_inPage || !m_surface->Ok())
        return SP_ERROR;
    m_inPage = true;
    LayPaper();
    return 1;
}

int PrinterDevice::EndPage()
{
    if (!m_inDocument || !m_inPage)
        return SP_ERROR;
    m_inPage = false;
    cairo_show_page(m_surface->cr);
    ++m_pages;
    return m_surface->Ok() ? 1 : SP_ERROR;
}

int PrinterDevice::EndDoc()
{
    if (!m_inDocument)
        return SP_ERROR;
    if (m_inPage)
        EndPage();
    m_text.reset();
    m_dc.reset();
    m_inDocument = false;
    if (m_pages == 0) {
        Discard();
        return 1;
    }
    const bool written = m_surface->Close();
    m_surface.reset();
    bool delivered = written;
    if (m_setup.queue.empty()) {
        if (delivered && m_setup.copies > 1)
            delivered = DeliverCopies();
        delivered = delivered && m_output->Commit();
    } else if (delivered) {
        delivered = cups::SendDocument(m_setup, m_job, m_title, m_spoolPath);
    }
    if (!delivered) {
        Discard();
        return SP_ERROR;
    }
    if (!m_setup.queue.empty())
        ::unlink(m_spoolPath.c_str());
    m_spoolPath.clear();
    m_output.reset();
    m_job = 0;
    return 1;
}

bool PrinterDevice::DeliverCopies()
{
    FILE* out = StreamOn(*m_output);
    bool ok = out && WriteCopies(m_spoolPath, out, m_setup.copies, m_setup.collate);
    if (out)
        ok = std::fclose(out) == 0 && ok;
    ::unlink(m_spoolPath.c_str());
    return ok;
}

int PrinterDevice::AbortDoc()
{
    if (!m_inDocument)
        return SP_ERROR;
    Discard();
    return 1;
}

bool PrinterDevice::Line(const wxPen& pen, const wxPoint& from, const wxPoint& to)
{
    if (!m_inDocument)
        return false;
    if (pen.GetStyle() == wxPENSTYLE_TRANSPARENT)
        return true;
    if (pen.GetStyle() != wxPENSTYLE_SOLID || m_setup.dpiX != m_setup.dpiY)
        return false;
    cairo_t* cr = m_surface->cr;
    const double scale = kPointsPerInch / m_setup.dpiX;
    const double left = Caps(PHYSICALOFFSETX), top = Caps(PHYSICALOFFSETY);
    const wxColour colour = pen.GetColour();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_rgba(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0,
        colour.Alpha() / 255.0);
    cairo_set_line_width(cr, pen.GetWidth() * scale);
    cairo_set_line_cap(cr, pen.GetCap() == wxCAP_BUTT ? CAIRO_LINE_CAP_BUTT
                           : pen.GetCap() == wxCAP_PROJECTING ? CAIRO_LINE_CAP_SQUARE
                                                              : CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, pen.GetJoin() == wxJOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL
                            : pen.GetJoin() == wxJOIN_MITER ? CAIRO_LINE_JOIN_MITER
                                                            : CAIRO_LINE_JOIN_ROUND);
    cairo_new_path(cr);
    cairo_move_to(cr, (from.x + left) * scale, (from.y + top) * scale);
    cairo_line_to(cr, (to.x + left) * scale, (to.y + top) * scale);
    cairo_stroke(cr);
    cairo_restore(cr);
    return true;
}

void PrinterDevice::LayPaper()
{
    // Cairo's PDF surface keeps a region of what a page covers, grown by each
    // mark: within a page-sized region a mark costs nothing, where thousands of
    // marks made a region of as many pieces, each new one slower to add.
    cairo_t* cr = m_surface->cr;
    cairo_save(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_restore(cr);
}

void PrinterDevice::Discard()
{
    m_text.reset();
    m_dc.reset();
    m_inDocument = false;
    m_inPage = false;
    if (m_surface)
        m_surface->Close();
    m_surface.reset();
    if (!m_spoolPath.empty() && m_spoolTemporary)
        ::unlink(m_spoolPath.c_str());
    m_spoolPath.clear();
    m_output.reset();
    if (m_job > 0)
        cups::CancelJob(m_setup, m_job);
    m_job = 0;
}

}  // namespace afxwin
