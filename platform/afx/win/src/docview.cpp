#include "internal.h"
#include "afx/file.h"
#include "win32/internal.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CFormView, CView)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// ---- document ----

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    if (m_pDocTemplate) {
        CString name;
        m_pDocTemplate->GetDocString(name, CDocTemplate::kFileNewName);
        m_strTitle = name.IsEmpty() ? CString(L"Untitled") : name;
    }
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        AfxMessageBox(L"Failed to open document.", MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    CArchive ar(CArchive::load);
    Serialize(ar);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR path)
{
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        AfxMessageBox(L"Failed to save document.", MB_ICONEXCLAMATION);
        return FALSE;
    }
    CArchive ar(CArchive::store);
    Serialize(ar);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::DeleteContents() {}
void CDocument::Serialize(CArchive&) {}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString text;
    text.Format(L"Save changes to %s?", m_strTitle.GetString());
    int answer = AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return FALSE;
    if (answer == IDYES)
        return DoFileSave();
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    CString path = m_strPathName;
    if (path.IsEmpty()) {
        CFileDialog dialog(FALSE, nullptr, m_strTitle, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"All Files (*.*)|*.*||");
        if (dialog.DoModal() != IDOK)
            return FALSE;
        path = dialog.GetPathName();
    }
    if (!OnSaveDocument(path))
        return FALSE;
    SetPathName(path);
    return TRUE;
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    CString keep = m_strPathName;
    m_strPathName.Empty();
    if (!DoFileSave())
        m_strPathName = keep;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra);
}

void CDocument::SetPathName(LPCTSTR path, BOOL addToMRU)
{
    m_strPathName = path;
    CString p(path);
    int slash = p.ReverseFind(L'/');
    m_strTitle = slash >= 0 ? p.Mid(slash + 1) : p;
    if (addToMRU && AfxGetApp())
        AfxGetApp()->AddToRecentFileList(path);
    for (CView* view : m_views)
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->UpdateFrameTitle();
}

void CDocument::AddView(CView* view)
{
    if (!view)
        return;
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    for (auto it = m_views.begin(); it != m_views.end(); ++it)
        if (*it == view) {
            m_views.erase(it);
            view->m_pDocument = nullptr;
            return;
        }
}

// ---- views ----

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::CreateView(CFrameWnd* frame, UINT id)
{
    wxWindow* parent = frame ? afxwin::Internals::Wx(frame) : nullptr;
    if (!parent || m_hWnd)
        return FALSE;
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(WS_CHILD | WS_VISIBLE);
    if (!PreCreateWindow(cs))
        return FALSE;
    auto* panel = new wxPanel(parent, wxID_ANY, wxDefaultPosition, parent->GetClientSize(),
                              wxTAB_TRAVERSAL | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
    AfxWindowImpl* impl = afxwin::Register(panel, this);
    impl->drawn = true;
    impl->style = static_cast<DWORD>(cs.style);
    impl->id = static_cast<int>(id);
    afxwin::BindDrawnEvents(panel);
    HWND hwnd = m_hWnd;
    panel->Bind(wxEVT_SIZE, [panel, hwnd](wxSizeEvent& e) {
        wxSize s = panel->GetClientSize();
        ::SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(s.x, s.y));
        e.Skip();
    });
    return ::SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) != -1;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra);
}

void CView::PostNcDestroy()
{
    delete this;
}

CFormView::CFormView(UINT templateId) : m_nTemplateId(templateId) {}

CFormView::~CFormView() = default;

BOOL CFormView::CreateView(CFrameWnd* frame, UINT id)
{
    if (!CView::CreateView(frame, id))
        return FALSE;
    const AfxDialogTemplate* t = AfxFindDialog(m_nTemplateId);
    if (!t)
        return FALSE;
    wxSize size = afxwin::CreateTemplateControls(this, afxwin::Internals::Wx(this), *t);
    m_totalSize = CSize(size.x, size.y);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC*) {}

LRESULT CFormView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CView::DefWindowProc(message, wParam, lParam);
}

void CFormView::ResizeParentToFit(BOOL shrinkOnly)
{
    CFrameWnd* frame = GetParentFrame();
    auto* w = frame ? dynamic_cast<wxFrame*>(afxwin::Internals::Wx(frame)) : nullptr;
    if (!w || w->IsMaximized())
        return;
    wxSize client = w->GetClientSize();
    wxSize want(m_totalSize.cx, m_totalSize.cy);
    if (shrinkOnly)
        want = wxSize(std::min(client.x, want.x), std::min(client.y, want.y));
    if (want != client)
        w->SetClientSize(want);
}

// ---- templates ----

CDocTemplate::CDocTemplate(UINT id, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : m_nIDResource(id), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
    m_strDocStrings = AfxLoadString(id);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& out, int index) const
{
    out.Empty();
    CString all = m_strDocStrings.IsEmpty() ? AfxLoadString(m_nIDResource) : m_strDocStrings;
    int start = 0;
    for (int i = 0; i < static_cast<int>(index); ++i) {
        int nl = all.Find(L'\n', start);
        if (nl < 0)
            return FALSE;
        start = nl + 1;
    }
    int end = all.Find(L'\n', start);
    out = end < 0 ? all.Mid(start) : all.Mid(start, end - start);
    return !out.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* doc = dynamic_cast<CDocument*>(object);
    if (!doc) {
        delete object;
        return nullptr;
    }
    doc->m_pDocTemplate = this;
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd*)
{
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        // A frame whose window never existed is still ours to delete.
        if (!frame->m_hWnd)
            delete frame;
        return nullptr;
    }
    return frame;
}

CSingleDocTemplate::CSingleDocTemplate(UINT id, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CDocTemplate(id, docClass, frameClass, viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    delete m_pOnlyDoc;
}

void CSingleDocTemplate::RemoveDocument()
{
    delete m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR path, BOOL makeVisible)
{
    CDocument* doc = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (doc) {
        if (!doc->SaveModified())
            return nullptr;
        CView* view = doc->GetFirstView();
        frame = view ? view->GetParentFrame() : nullptr;
    } else {
        doc = CreateNewDocument();
        if (!doc)
            return nullptr;
        m_pOnlyDoc = doc;
        created = true;
        frame = CreateNewFrame(doc, nullptr);
        if (!frame) {
            RemoveDocument();
            return nullptr;
        }
        if (AfxGetApp() && !AfxGetApp()->m_pMainWnd)
            AfxGetApp()->m_pMainWnd = frame;
    }
    BOOL ok = path ? doc->OnOpenDocument(path) : doc->OnNewDocument();
    if (!ok) {
        if (created && frame)
            frame->DestroyWindow();
        return nullptr;
    }
    if (path)
        doc->SetPathName(path);
    if (frame)
        frame->InitialUpdateFrame(doc, makeVisible);
    return doc;
}
