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
