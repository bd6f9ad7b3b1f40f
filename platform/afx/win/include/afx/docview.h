// The application, the single-document template, documents and views.
#pragma once

#include <memory>
#include <vector>

#include "afx/dialog.h"
#include "afx/frame.h"

class CDocTemplate;
class CArchive;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
    friend struct afxwin::Internals;
public:
    CDocument();
    ~CDocument() override;

    virtual BOOL OnNewDocument();
    // Creates `path` and passes it to Serialize through a storing archive.
    virtual BOOL OnSaveDocument(LPCTSTR path);
    virtual void Serialize(CArchive& ar);

    const CString& GetPathName() const { return m_strPathName; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
    const CString& GetTitle() const { return m_strTitle; }
    CView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    // Opens `path` for reading and passes it to Serialize through a loading archive.
    virtual BOOL OnOpenDocument(LPCTSTR path);
    virtual void DeleteContents();
    virtual BOOL SaveModified();
    // Save: the save dialog for an untitled document, then OnSaveDocument.
    virtual BOOL DoFileSave();
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    BOOL IsModified() const { return m_bModified; }
    void SetTitle(LPCTSTR title) { m_strTitle = title; }
    void SetPathName(LPCTSTR path, BOOL addToMRU = TRUE);
    void AddView(CView* view);
    void RemoveView(CView* view);
    void OnFileSave();
    void OnFileSaveAs();

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bModified = FALSE;
    CString m_strTitle;
    CString m_strPathName;
    std::vector<CView*> m_views;

    friend class CDocTemplate;
    friend class CSingleDocTemplate;
    friend class CFrameWnd;
    friend class CView;
    friend class CWinApp;
};

// A loading or storing archive over a file; the layer's documents only test
// its direction.
class CArchive {
    friend class CDocument;

    enum Mode { store = 0, load = 1 };
    explicit CArchive(Mode mode) : m_mode(mode) {}

    Mode m_mode;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
    friend class CDocument;
    friend struct afxwin::Internals;
public:
    CView();
    ~CView() override;

    virtual void OnInitialUpdate();
    // Called by the default WM_PAINT with a CPaintDC.
    virtual void OnDraw(CDC* dc) = 0;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
    CDocument* GetDocument() const { return m_pDocument; }
    void PostNcDestroy() override;
    CDocument* m_pDocument = nullptr;
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    // Creates the view's window as the client of `frame`.
    virtual BOOL CreateView(CFrameWnd* frame, UINT id);

    friend class CFormView;
    friend class CFrameWnd;
};

// A view holding the controls of a dialog template (a form).
class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT templateId);
    ~CFormView() override;
    // Exchanges data into the controls (UpdateData(FALSE)) and runs OnUpdate.
    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ResizeParentToFit(BOOL shrinkOnly = TRUE);

private:
    BOOL CreateView(CFrameWnd* frame, UINT id) override;

    UINT m_nTemplateId;
    CSize m_totalSize;
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
    friend class CWinApp;
    friend struct afxwin::Internals;
public:
    ~CDocTemplate() override;

protected:
    CDocTemplate(UINT id, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);

private:
    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
    static constexpr int kFileNewName = 2;
    // Part `index` of the template's document string (parts separated by "\n").
    BOOL GetDocString(CString& out, int index) const;
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

    friend class CDocument;
    friend class CSingleDocTemplate;
};

// One document, one frame, one view; New and Open reuse them.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
    friend class CWinApp;
    friend struct afxwin::Internals;
public:
    CSingleDocTemplate(UINT id, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

private:
    CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }
    void RemoveDocument();
    CDocument* m_pOnlyDoc = nullptr;
};

class CCommandLineInfo : public CObject {
    friend class CWinApp;

    enum { FileNew, FileOpen, FileNothing = 5 } m_nShellCommand = FileNew;
    CString m_strFileName;
};

// The application. Exactly one exists (a global object); AfxWinMain (or the
// program's main through AfxRunApplication) runs InitInstance and then the
// message loop until the main window closes.
class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
    friend class CDocument;
    friend class CFrameWnd;
    friend struct afxwin::Internals;
public:
    // Without a name the application name is string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();

    void SetRegistryKey(LPCTSTR key);
    // Loads the recent-file list (`maxMRU` entries) and "Settings" "PreviewPages".
    void LoadStdProfileSettings(UINT maxMRU = 4);
    void AddDocTemplate(CDocTemplate* docTemplate);
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    void OnFileNew();
    void OnFileOpen();

    CWnd* m_pMainWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()

private:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<CString> m_recentFiles;
    int ExitInstance();
    void AddToRecentFileList(LPCTSTR path);
    const std::vector<CString>& GetRecentFiles() const { return m_recentFiles; }
    // The profile: a configuration file in the user's configuration folder,
    // $XDG_CONFIG_HOME (else ~/.config) / registry key / application name.ini
    // (without a registry key: the application name.ini).
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue);
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr);
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
    CDocument* OpenDocumentFile(LPCTSTR path);
    CDocTemplate* GetFirstTemplate() const { return m_templates.empty() ? nullptr : m_templates.front().get(); }
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
    CString GetProfilePath() const;
    // Takes the application name from string AFX_IDS_APP_TITLE when none was given.
    void SetAppNameFromResources();

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    int m_argc = 0;
    char** m_argv = nullptr;
    UINT m_nMaxMRU = 0;
    UINT m_nNumPreviewPages = 0;
    CString m_appName;
    CString m_registryKey;

    friend int AfxWinMain(int argc, char** argv);
    friend LPCTSTR AfxGetAppName();
};

LPCTSTR AfxGetAppName();
// Runs the application object: creates the wx application, calls
// InitInstance and, when it returns TRUE, the message loop; returns the exit code.
int AfxWinMain(int argc, char** argv);

BOOL AfxOleInit();
void AfxEnableControlContainer();

#define ICC_WIN95_CLASSES 0x000000FFu
struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
