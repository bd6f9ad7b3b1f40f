// The device behind a printer device context: pages are drawn as vector
// graphics on a cairo PDF surface at the printer's resolution, and the finished
// document goes to a file or to a CUPS queue. A queue makes the copies asked
// for; a file holds them, its pages repeated by qpdf (pdf_copies.h).
#pragma once

#include <memory>
#include <string>

#include "win32/files.h"

class wxDC;
class wxPen;
class wxPoint;

namespace afxwin {

class PrinterText;

// Where a printer's pages go and how they are laid out.
struct PrinterSetup {
    std::string queue;        // CUPS destination; empty for a file printer
    std::string outputFile;   // the PDF file of a file printer
    std::string media;        // PWG media name for the queue; empty: its default
    int dpiX = 300;
    int dpiY = 300;
    double paperWidthMm = 210;
    double paperHeightMm = 297;
    // The part of the paper the printer cannot mark; device pixel (0, 0) is the
    // top-left corner of the printable area, as on any printer.
    double marginLeftMm = 0;
    double marginTopMm = 0;
    double marginRightMm = 0;
    double marginBottomMm = 0;
    int copies = 1;
    bool collate = true;      // a file's copies: whole documents, or each page in turn
};

// CUPS, through libcups and its default server (CUPS_SERVER or the local one).
namespace cups {
// Fills the queue's default paper, margins and resolution; false when CUPS does
// not know the queue (or no scheduler answers).
bool LookUpQueue(const std::string& name, PrinterSetup* setup);
// The media name and margins of a paper size on the queue; false when unknown.
bool LookUpMedia(const std::string& name, double widthMm, double heightMm, PrinterSetup* setup);
// Creates a job for the document; its number, or 0 when the queue refuses it.
int CreateJob(const PrinterSetup& setup, const std::string& title);
// Sends the PDF file as the job's only document; false when CUPS refuses it
// (the job is then cancelled).
bool SendDocument(const PrinterSetup& setup, int job, const std::string& title, const std::string& pdfPath);
void CancelJob(const PrinterSetup& setup, int job);
}  // namespace cups

class PrinterDevice {
public:
    explicit PrinterDevice(const PrinterSetup& setup);
    // Abandons a document that was not ended.
    ~PrinterDevice();

    PrinterDevice(const PrinterDevice&) = delete;
    PrinterDevice& operator=(const PrinterDevice&) = delete;

    const PrinterSetup& Setup() const { return m_setup; }
    // New settings for the next document.
    void SetSetup(const PrinterSetup& setup);

    // GetDeviceCaps of the device (HORZRES, LOGPIXELSX, PHYSICALWIDTH, ...).
    int Caps(int index) const;

    // Each returns a positive value on success and -1 (SP_ERROR) on failure.
    // StartDoc returns the job number (1 for a file); it refuses a file that a
    // save would refuse (win32::ReplacementFile). A document that fails
    // anywhere is abandoned: a file printer leaves the file as it was, a queue
    // gets its job cancelled.
    int StartDoc(const std::string& title);
    int StartPage();
    int EndPage();
    // Delivers the document: renames the finished file into place (with its
    // copies) or sends it to the queue. A document without pages delivers nothing.
    int EndDoc();
    int AbortDoc();

    // What is drawn on; exists from StartDoc to EndDoc.
    wxDC* Dc() const { return m_dc.get(); }
    // The document's texts, drawn on Dc(); exists with it.
    PrinterText* Text() const { return m_text.get(); }
    bool InDocument() const { return m_inDocument; }

    // Strokes a line in a solid pen straight on the page, in the surface's
    // own units, as wx would stroke it in printer pixels: cairo's PDF output
    // then writes no transform around each of a curve's many thousand lines.
    // False, drawing nothing, for another pen.
    bool Line(const wxPen& pen, const wxPoint& from, const wxPoint& to);

private:
    void Discard();
    bool DeliverCopies();
    // White paper under a page that begins.
    void LayPaper();

    PrinterSetup m_setup;
    struct Surface;
    std::unique_ptr<Surface> m_surface;
    std::unique_ptr<wxDC> m_dc;
    std::unique_ptr<PrinterText> m_text;
    std::string m_title;
    std::unique_ptr<win32::ReplacementFile> m_output;   // a file printer's file
    std::string m_spoolPath;   // what cairo writes when not the output itself
    bool m_spoolTemporary = false;   // else the output itself
    bool m_inDocument = false;
    bool m_inPage = false;
    int m_pages = 0;
    int m_job = 0;
};

}  // namespace afxwin
