// The one copy of a document in the PDF file `pdf` written to `out` as
// `copies` copies: each whole document after another when collate is
// nonzero, else each page as many times in turn; the copies of a page share
// its contents. 1 when written, 0 when not. Lives in a module of its own
// beside the program (AFX_PDF_COPIES_MODULE), opened on first use.
#pragma once

#include <cstdio>

extern "C" {
int afx_write_pdf_copies(const char* pdf, FILE* out, int copies, int collate);
}

#define AFX_PDF_COPIES_MODULE "libafx_pdf_copies.so"
