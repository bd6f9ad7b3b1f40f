// The floor the start-up benchmark measures Decibar against: a plain frame of
// the same toolkit at Decibar's window size, nothing in it. Its client area is
// one colour that the benchmark looks for on the screen to see it painted.
//
//   decibar_bare_frame WIDTH HEIGHT
#include <wx/wx.h>

namespace {

// Not a colour of Decibar's window, so a probe cannot mistake one for the other.
const wxColour kGround(0x3A, 0x6E, 0x5B);

class BareApp : public wxApp {
public:
    bool OnInit() override
    {
        long width = 0;
        long height = 0;
        if (argc < 3 || !argv[1].ToLong(&width) || !argv[2].ToLong(&height) || width <= 0 || height <= 0)
            return false;
        auto* frame = new wxFrame(nullptr, wxID_ANY, "floor");
        frame->SetBackgroundColour(kGround);
        frame->SetClientSize(static_cast<int>(width), static_cast<int>(height));
        frame->Show();
        return true;
    }
};

}  // namespace

wxIMPLEMENT_APP(BareApp);
