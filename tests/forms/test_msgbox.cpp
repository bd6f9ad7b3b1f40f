#include "forms/form.h"
#include "forms/msgbox.h"
#include "guikit.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/defs.h>

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
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, wxID_NO, IDNO},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, wxYES_NO | wxCANCEL | wxICON_INFORMATION, wxID_YES, IDYES},
        {MB_RETRYCANCEL, wxOK | wxCANCEL | wxICON_NONE, wxID_OK, IDRETRY},
        {MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_NO, IDRETRY},
        {MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_CANCEL, IDIGNORE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(forms::DialogStyle(c.type), c.style);
        EXPECT_EQ(forms::BoxResult(c.type, c.dialogResult), c.answer);
    }
}

namespace {

struct SeenDialog {
    std::string title, text;
};

// Answers the first message dialog on screen with No, noting what it showed.
gboolean AnswerNo(gpointer data)
{
    auto* seen = static_cast<SeenDialog*>(data);
    GList* windows = gtk_window_list_toplevels();
    bool answered = false;
    for (GList* item = windows; item && !answered; item = item->next) {
        if (!GTK_IS_MESSAGE_DIALOG(item->data) || !gtk_widget_get_visible(GTK_WIDGET(item->data)))
            continue;
        const gchar* title = gtk_window_get_title(GTK_WINDOW(item->data));
        seen->title = title ? title : "";
        gchar* text = nullptr;
        g_object_get(item->data, "text", &text, nullptr);
        seen->text = text ? text : "";
        g_free(text);
        gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_NO);
        answered = true;
    }
    g_list_free(windows);
    return answered ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

}  // namespace

TEST(MsgBox, InstalledHandlerShowsAMessageDialog)
{
    const win32::MessageBoxHandler previous = forms::InstallMessageBoxHandler();
    SeenDialog seen;
    g_timeout_add(50, &AnswerNo, &seen);
    const int answer = forms::MsgBox(nullptr, "Save Current Data?\r\nnow", MB_YESNO | MB_ICONQUESTION, "Tip");
    int offThread = 0;
    std::thread([&] { offThread = MessageBoxW(nullptr, L"from a worker", L"Tip", MB_YESNO | MB_DEFBUTTON2); }).join();
    win32::SetMessageBoxHandler(previous);

    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(seen.title, "Tip");
    EXPECT_EQ(seen.text, "Save Current Data?\nnow");
    EXPECT_EQ(offThread, IDNO) << "answered with its default button, without a dialog";
}
