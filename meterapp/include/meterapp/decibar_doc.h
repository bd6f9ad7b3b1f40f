// The document of the single-document template. It holds no data: every
// recording lives in the view's record arrays.
#pragma once

#include <afx/afxwin.h>

class CDecibarDoc : public CDocument {
    DECLARE_DYNCREATE(CDecibarDoc)

protected:
    CDecibarDoc() = default;

public:
    ~CDecibarDoc() override = default;
    // Reads and writes nothing in either direction.
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    // Having nothing to write, it leaves the file as it is: false, nothing said.
    BOOL OnSaveDocument(LPCTSTR path) override;

    DECLARE_MESSAGE_MAP()
};
