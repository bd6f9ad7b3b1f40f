// The copies a file printer holds, made by qpdf. qpdf (a C++ library, with
// the TLS and crypto libraries it brings and sets up as it loads) is linked
// into this module alone, which printing opens the first time a document asks
// for copies (pdf_copies.h); a program that prints none never loads it.
#include <cstdio>
#include <exception>
#include <vector>

// qpdf's newer interface alone, without its old pointer class.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include "pdf_copies.h"

extern "C" __attribute__((visibility("default"))) int afx_write_pdf_copies(const char* pdf, FILE* out, int copies,
                                                                            int collate)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processFile(pdf);
        QPDFPageDocumentHelper pages(document);
        std::vector<QPDFPageObjectHelper> originals = pages.getAllPages();
        if (collate) {
            for (int copy = 2; copy <= copies; ++copy)
                for (QPDFPageObjectHelper& page : originals)
                    pages.addPage(page.shallowCopyPage(), false);
        } else {
            for (QPDFPageObjectHelper& page : originals)
                for (int copy = 2; copy <= copies; ++copy)
                    pages.addPageAt(page.shallowCopyPage(), false, page);
        }
        QPDFWriter writer(document);
        writer.setOutputFile(pdf, out, false);
        writer.write();
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}
