#include "forms/form.h"
#include "forms/msgbox.h"
#include "wxsupport/msgbox.h"
#include "guikit.h"
#include "win32/internal.h"
#include "forms/internal.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/artprov.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>
#include <wx/statbmp.h>

#include <algorithm>
#include <string>
#include <thread>

TEST(MsgBox, GoesToTheHandlerWithItsOwnerAndWideText)
{
    guikit::ScriptedBoxes boxes;
    forms::Form owner("owner", 100, 100);
    EXPECT_EQ(forms::MsgBox(&owner, "File not found!\r\n/media/M\xC3\xA9" "dium/\xE6\x9C\xAA.exe", MB_OK, "Setwell"), IDOK);
    EXPECT_EQ(forms::MsgBox(nullptr, "bad \xC3 byte \xE2\x82 and \xF0\x9F\x98\x80 end", MB_YESNO, "t"), IDOK);
    const auto shown = boxes.Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].owner, owner.hWnd());
    EXPECT_EQ(shown[0].text, L"File not found!\r\n/media/M\u00E9dium/\u672A.exe");
    EXPECT_EQ(shown[0].caption, L"Setwell");
    EXPECT_EQ(shown[0].type, MB_OK);
    EXPECT_EQ(shown[1].owner, nullptr);
    EXPECT_EQ(shown[1].text, L"bad \uFFFD byte \uFFFD\uFFFD and \U0001F600 end");
}

TEST(MsgBox, DialogStylesAndAnswers)
{
    struct Case {
        UINT type;
        long style;
        int dialogResult;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, wxOK | wxICON_NONE, wxID_OK, IDOK},
        {MB_OK | MB_ICONERROR, wxOK | wxICON_ERROR, wxID_CANCEL, IDOK},
        {MB_OKCANCEL | MB_ICONWARNING, wxOK | wxCANCEL | wxICON_WARNING, wxID_CANCEL, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, wxOK | wxCANCEL | wxCANCEL_DEFAULT | wxICON_NONE, wxID_OK, IDOK},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, wxID_NO, IDNO},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, wxYES_NO | wxCANCEL | wxICON_INFORMATION, wxID_YES, IDYES},
        {MB_RETRYCANCEL, wxOK | wxCANCEL | wxICON_NONE, wxID_OK, IDRETRY},
        {MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_NO, IDRETRY},
        {MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_CANCEL, IDIGNORE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(wxsupport::MessageBoxStyle(c.type), c.style);
        EXPECT_EQ(wxsupport::MessageBoxAnswer(c.type, c.dialogResult), c.answer);
    }
}

namespace {

struct SeenBox {
    std::wstring title, text;
    int icons = 0;
    wxImage icon;
    bool gtkDialog = false;   // GTK's own message dialog, which shows no icon
};

// Answers the first message box on screen with No, noting what it showed.
gboolean AnswerNo(gpointer data)
{
    auto* seen = static_cast<SeenBox*>(data);
    for (wxWindow* window : wxTopLevelWindows) {
        auto* box = dynamic_cast<wxGenericMessageDialog*>(window);
        if (!box || !box->IsShown())
            continue;
        seen->title = box->GetTitle().ToStdWstring();
        seen->text = box->GetMessage().ToStdWstring();
        for (wxWindow* child : box->GetChildren()) {
            if (auto* picture = dynamic_cast<wxStaticBitmap*>(child)) {
                ++seen->icons;
                seen->icon = picture->GetBitmap().ConvertToImage();
            }
        }
        box->EndModal(wxID_NO);
        return G_SOURCE_REMOVE;
    }
    // Answered too, so that a box of the wrong kind fails the test instead of waiting.
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
        if (GTK_IS_MESSAGE_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
            seen->gtkDialog = true;
            gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_NO);
            break;
        }
    }
    g_list_free(windows);
    return seen->gtkDialog ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

bool SamePixels(const wxImage& a, const wxImage& b)
{
    return a.IsOk() && b.IsOk() && a.GetSize() == b.GetSize() &&
           std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
}

}  // namespace

TEST(MsgBox, InstalledHandlerShowsAMessageDialog)
{
    const win32::MessageBoxHandler previous = forms::InstallMessageBoxHandler();
    SeenBox seen;
    g_timeout_add(50, &AnswerNo, &seen);
    const int answer = forms::MsgBox(nullptr, "Save Current Data?\r\nnow", MB_YESNO | MB_ICONQUESTION, "Tip");
    int offThread = 0;
    std::thread([&] { offThread = MessageBoxW(nullptr, L"from a worker", L"Tip", MB_YESNO | MB_DEFBUTTON2); }).join();
    win32::SetMessageBoxHandler(previous);

    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(seen.title, L"Tip");
    EXPECT_EQ(seen.text, L"Save Current Data?\nnow");
    EXPECT_EQ(offThread, IDNO) << "answered with its default button, without a dialog";
}

TEST(MsgBox, ABoxShowsTheIconItsFlagsAskForAndNoneWithoutOne)
{
    struct Case {
        UINT icon;
        long art;   // 0: no icon
    };
    const Case cases[] = {
        {MB_ICONINFORMATION, wxICON_INFORMATION}, {MB_ICONASTERISK, wxICON_INFORMATION},
        {MB_ICONWARNING, wxICON_WARNING},         {MB_ICONEXCLAMATION, wxICON_WARNING},
        {MB_ICONERROR, wxICON_ERROR},             {MB_ICONHAND, wxICON_ERROR},
        {MB_ICONQUESTION, wxICON_QUESTION},       {0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon);
        SeenBox seen;
        g_timeout_add(20, &AnswerNo, &seen);
        wxsupport::ShowMessageBox(nullptr, "Warning:Can't open COM3!", "Decibar", MB_OK | c.icon);
        ASSERT_FALSE(seen.gtkDialog);
        if (c.art == 0) {
            EXPECT_EQ(seen.icons, 0);
            continue;
        }
        ASSERT_EQ(seen.icons, 1);
        EXPECT_TRUE(SamePixels(seen.icon, wxArtProvider::GetMessageBoxIcon(c.art).ConvertToImage()));
    }
    // The four pictures differ, so a flag that picked another kind's icon would show.
    const long kinds[] = {wxICON_INFORMATION, wxICON_WARNING, wxICON_ERROR, wxICON_QUESTION};
    for (long a : kinds) {
        for (long b : kinds) {
            if (a != b) {
                EXPECT_FALSE(SamePixels(wxArtProvider::GetMessageBoxIcon(a).ConvertToImage(),
                                        wxArtProvider::GetMessageBoxIcon(b).ConvertToImage()));
            }
        }
    }
}
