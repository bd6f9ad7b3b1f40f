#include "meterapp/decibar_doc.h"

IMPLEMENT_DYNCREATE(CDecibarDoc, CDocument)

BEGIN_MESSAGE_MAP(CDecibarDoc, CDocument)
END_MESSAGE_MAP()

void CDecibarDoc::Serialize(CArchive&)
{
}

BOOL CDecibarDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

// The framework's save would create the file anew, empty: a recording chosen
// in its dialog would be lost.
BOOL CDecibarDoc::OnSaveDocument(LPCTSTR)
{
    return FALSE;
}
