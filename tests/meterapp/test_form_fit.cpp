// Every text of Decibar's forms and dialogs shows whole: each static text,
// push button, check box, radio button and group-box title is laid out by GTK
// in the template's font, on one line, inside the control's rectangle.
#include "decibar_resources.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <afx/afxwin.h>
#include <afx/testing.h>

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/window.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Every dialog template of the program. A new dialog joins the check by
// adding its id here.
const UINT kDialogTemplates[] = { IDD_MYORVO_FORM, IDD_ABOUT, IDD_PORT, IDD_DATALOGGER, IDD_LOGSTATE, IDD_RTSETUP };

// The faces the templates name and the metric-compatible ones that draw them.
struct SFaceMatch {
    const wchar_t* templateFace;
    const char* shownFace;
};
const SFaceMatch kFaces[] = { { L"Arial", "Liberation Sans" }, { L"MS Sans Serif", "Liberation Sans" },
    { L"MS Shell Dlg", "Liberation Sans" } };

class CFitApp : public CWinApp {
public:
    CFitApp() : CWinApp(L"FormFit") {}
};
CFitApp theApp;

std::string ShownFace(const wchar_t* templateFace)
{
    for (const SFaceMatch& f : kFaces)
        if (std::wstring(f.templateFace) == templateFace)
            return f.shownFace;
    return std::string(templateFace, templateFace + std::wcslen(templateFace));
}

bool HasText(const AfxDlgItem& item)
{
    switch (item.kind) {
    case AfxControlKind::Static:
    case AfxControlKind::GroupBox:
        return item.text && item.text[0];
    case AfxControlKind::PushButton:
        return item.text && item.text[0] && (item.style & BS_TYPEMASK) != BS_OWNERDRAW;
    default:
        return false;
    }
}

// The label GTK draws the control's text with.
GtkLabel* TextLabelOf(GtkWidget* control)
{
    if (GTK_IS_LABEL(control))
        return GTK_LABEL(control);
    GtkWidget* label = nullptr;
    if (GTK_IS_FRAME(control))
        label = gtk_frame_get_label_widget(GTK_FRAME(control));
    else if (GTK_IS_BIN(control))
        label = gtk_bin_get_child(GTK_BIN(control));
    return label && GTK_IS_LABEL(label) ? GTK_LABEL(label) : nullptr;
}

// The font size in points that GTK draws a label with.
double PointsOf(const PangoFontDescription* font)
{
    const double size = pango_font_description_get_size(font) / static_cast<double>(PANGO_SCALE);
    return pango_font_description_get_size_is_absolute(font) ? size * 72.0 / 96.0 : size;
}

std::string Describe(UINT dialogId, const AfxDlgItem& item)
{
    const std::wstring text(item.text);
    return "dialog " + std::to_string(dialogId) + ", control " + std::to_string(item.id) + " \""
        + std::string(text.begin(), text.end()) + "\"";
}

// Saves what the user sees when DECIBAR_FORM_SHOTS names a directory.
void SaveShot(CDialog& dialog, UINT id)
{
    const char* dir = std::getenv("DECIBAR_FORM_SHOTS");
    if (!dir)
        return;
    const std::string path = std::string(dir) + "/dialog-" + std::to_string(id) + ".png";
    EXPECT_TRUE(AfxTestSaveScreenshot(&dialog, std::wstring(path.begin(), path.end())));
}

// The template's size as Windows makes it, a whole number of pixels at 96
// per inch (10 points: 13 px, 9.75 points), and as wx gives it to a GTK
// widget: in whole points (9).
double ShownPoints(int templatePoints)
{
    return std::floor(MulDiv(templatePoints, 96, 72) * 72.0 / 96.0);
}

class FormFit : public ::testing::TestWithParam<UINT> {
protected:
    static void SetUpTestSuite()
    {
        AfxTestInitialize();
        RegisterDecibarResources();
    }
};

TEST_P(FormFit, EveryTextShowsWholeInTheTemplateFont)
{
    const UINT id = GetParam();
    const AfxDialogTemplate* t = AfxTestFindDialog(id);
    ASSERT_NE(t, nullptr);
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(id));
    dialog.ShowWindow(SW_SHOW);
    AfxTestPumpUntil([] { return false; }, 200);

    const wxWindowList& children = AfxTestWx(&dialog)->GetChildren();
    ASSERT_EQ(children.size(), t->count) << "one window per template control, in template order";
    const CSize base = AfxTestDialogBaseUnits(*t);
    const std::string face = ShownFace(t->fontName);
    int checked = 0;
    auto child = children.begin();
    for (size_t i = 0; i < t->count; ++i, ++child) {
        const AfxDlgItem& item = t->items[i];
        // Hidden controls (placeholders the program fills in and shows) are not laid out.
        if (!HasText(item) || !(item.style & WS_VISIBLE))
            continue;
        SCOPED_TRACE(Describe(id, item));
        auto* control = static_cast<GtkWidget*>((*child)->GetHandle());
        GtkLabel* label = TextLabelOf(control);
        ASSERT_NE(label, nullptr);

        const PangoFontDescription* font
            = pango_context_get_font_description(gtk_widget_get_pango_context(GTK_WIDGET(label)));
        EXPECT_EQ(pango_font_description_get_family(font), face);
        EXPECT_NEAR(PointsOf(font), ShownPoints(t->fontPoints), 0.01);

        PangoLayout* layout = gtk_label_get_layout(label);
        EXPECT_EQ(pango_layout_get_line_count(layout), 1) << "the text is broken onto another line";
        EXPECT_FALSE(pango_layout_is_ellipsized(layout));
        PangoRectangle logical {};
        pango_layout_get_pixel_extents(layout, nullptr, &logical);
        // Where GTK puts the text: aligned inside the label's allocation, which
        // it may overflow; the control's box is what the user sees.
        GtkAllocation shown {};
        gtk_widget_get_allocation(GTK_WIDGET(label), &shown);
        const float xalign = gtk_label_get_xalign(label);
        const float yalign = gtk_label_get_yalign(label);
        const int textLeft = shown.x + static_cast<int>(std::floor((shown.width - logical.width) * xalign));
        const int textTop = shown.y + static_cast<int>(std::floor((shown.height - logical.height) * yalign));
        GtkAllocation box {};
        gtk_widget_get_allocation(control, &box);
        // A push button's text keeps clear of its frame.
        const int margin = item.kind == AfxControlKind::PushButton ? 3 : 0;
        EXPECT_GE(textLeft, box.x + margin) << "the text is cut at the left";
        EXPECT_LE(textLeft + logical.width, box.x + box.width - margin) << "the text is cut at the right";
        EXPECT_GE(textTop, box.y) << "the text is cut at the top";
        EXPECT_LE(textTop + logical.height, box.y + box.height) << "the text is cut at the bottom";

        // Each of x, y, width and height converts on its own, as the dialog manager does it.
        const CRect units = AfxTestDialogUnitsToPixels(base, CRect(item.x, item.y, item.cx, item.cy));
        const CRect given(units.left, units.top, units.left + units.right, units.top + units.bottom);
        const wxRect placed = (*child)->GetRect();
        EXPECT_EQ(placed.y, given.top);
        EXPECT_EQ(placed.height, given.Height());
        if (item.kind == AfxControlKind::Static) {
            // A label wider than its text stays as given; one that is narrower grows to its text only.
            EXPECT_EQ(placed.width, std::max<int>(given.Width(), logical.width));
            if ((item.style & SS_TYPEMASK) == SS_LEFT) {
                EXPECT_EQ(placed.x, given.left);
            }
        } else {
            EXPECT_EQ(placed.GetPosition(), wxPoint(given.left, given.top));
            EXPECT_EQ(placed.width, given.Width());
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
    SaveShot(dialog, id);
    dialog.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(DecibarDialogs, FormFit, ::testing::ValuesIn(kDialogTemplates),
    [](const ::testing::TestParamInfo<UINT>& dialog) { return "Dialog" + std::to_string(dialog.param); });

} // namespace
