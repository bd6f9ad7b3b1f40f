// The floor the live benchmark measures Decibar against: the least a program
// of the same toolkit does to show a meter's readings. It reads 20-byte frames
// (0xA5 0x0D, the level in BCD in bytes 2 and 3) from a serial device on a
// reader thread, and for each frame updates a cached 195 x 461 picture (the
// display window: background, level text, a bar) and copies the changed part
// to the screen. Bytes that are not part of a frame are skipped.
//
//   decibar_redraw_floor DEVICE [X Y]      the window's place on the screen
#include <wx/wx.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

const wxRect kPicture(0, 0, 195, 461);
const wxRect kDisplayWindow(45, 42, 106, 140);

class FloorFrame : public wxFrame {
public:
    FloorFrame(const wxPoint& at)
        : wxFrame(nullptr, wxID_ANY, "floor", at, wxDefaultSize), m_picture(kPicture.width, kPicture.height, 24)
    {
        SetClientSize(kPicture.GetSize());
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        {
            wxMemoryDC dc(m_picture);
            dc.SetBackground(wxBrush(wxColour(90, 96, 110)));
            dc.Clear();
        }
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(this);
            dc.DrawBitmap(m_picture, 0, 0);
        });
    }

    // A new reading, in tenths of a dB.
    void ShowReading(int tenths)
    {
        {
            wxMemoryDC dc(m_picture);
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(wxColour(128, 140, 128)));
            dc.DrawRectangle(kDisplayWindow);
            dc.SetFont(m_font);
            dc.SetTextForeground(*wxBLACK);
            dc.DrawText(wxString::Format("%.1f", tenths / 10.0), 60, 110);
            dc.SetBrush(*wxBLACK_BRUSH);
            dc.DrawRectangle(50, 81, std::min(100, tenths / 10), 7);
        }
        RefreshRect(kDisplayWindow, false);
    }

private:
    wxBitmap m_picture;
    wxFont m_font{wxFontInfo(24).FaceName("Liberation Sans").Bold()};
};

int FromBcd(uint8_t byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

class FloorApp : public wxApp {
public:
    bool OnInit() override
    {
        if (argc < 2)
            return false;
        m_fd = open(argv[1].utf8_str(), O_RDONLY | O_NOCTTY);
        if (m_fd < 0)
            return false;
        termios raw{};
        tcgetattr(m_fd, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_fd, TCSANOW, &raw);
        const wxPoint at = argc > 3 ? wxPoint(wxAtoi(argv[2]), wxAtoi(argv[3])) : wxDefaultPosition;
        m_frame = new FloorFrame(at);
        m_frame->Show();
        m_reader = std::thread([this] { Read(); });
        return true;
    }

    // The benchmark ends the program with a signal; the reader never stops on its own.
    int OnExit() override
    {
        m_reader.detach();
        return 0;
    }

private:
    void Read()
    {
        std::vector<uint8_t> buffer;
        uint8_t chunk[64];
        for (;;) {
            const ssize_t n = read(m_fd, chunk, sizeof chunk);
            if (n <= 0)
                return;
            buffer.insert(buffer.end(), chunk, chunk + n);
            size_t at = 0;
            while (at + 20 <= buffer.size()) {
                if (buffer[at] != 0xA5 || buffer[at + 1] != 0x0D) {
                    ++at;
                    continue;
                }
                const int tenths = FromBcd(buffer[at + 2]) * 100 + FromBcd(buffer[at + 3]);
                CallAfter([this, tenths] { m_frame->ShowReading(tenths); });
                at += 20;
            }
            buffer.erase(buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(at));
        }
    }

    int m_fd = -1;
    FloorFrame* m_frame = nullptr;
    std::thread m_reader;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(FloorApp);

int main(int argc, char** argv)
{
    return wxEntry(argc, argv);
}
