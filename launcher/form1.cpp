#include "form1.h"

#include "artwork.h"
#include "forms/files.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "forms/user32.h"
#include "win32/system.h"

#include <wx/cursor.h>

#include <exception>
#include <utility>

const char* const Form1::kTitle = "Setwell";

namespace {

const char kNotice[] = "Decibar \xC2\xB7 Kelvra KV415 installation medium";

}  // namespace

Form1::Form1(std::string appPath)
    : forms::Form(kTitle, 431, 326),
      btn_conn(*this, 56, 248, 89, 32),
      Image1(*this, 168, 248, 91, 34),
      Image2(*this, 280, 248, 89, 34),
      Label1(*this, 104, 296, 241, 17),
      m_appPath(std::move(appPath))
{
    SetPicture(wxBitmap(artwork::Background()));
    SetIcon(artwork::WindowIcon());

    const wxCursor hand(artwork::HandPointer());
    btn_conn.SetPicture(wxBitmap(artwork::ButtonPicture("Software", 89, 32)));
    Image1.SetPicture(wxBitmap(artwork::ButtonPicture("Drivers", 91, 34)));
    Image2.SetPicture(wxBitmap(artwork::ButtonPicture("Exit", 89, 34)));
    for (forms::Image* button : {&btn_conn, &Image1, &Image2})
        button->SetMousePointer(hand);
    btn_conn.Click = [this] { btn_conn_Click(); };
    Image1.Click = [this] { Image1_Click(); };
    Image2.Click = [this] { Image2_Click(); };

    Label1.SetCaption(kNotice);
    Label1.SetForeColor(wxColour(0, 128, 128));
    Label1.SetFont(wxFont(wxFontInfo(8).Family(wxFONTFAMILY_SWISS)));
}

std::string Form1::SystemVer() const
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return "Windows 32s";
    case VER_PLATFORM_WIN32_WINDOWS:
        switch (info.dwMinorVersion) {
        case 0: return "Windows 95";
        case 10: return "Windows 98";
        case 90: return "Windows Mellinnium";
        default: return "";
        }
    case VER_PLATFORM_WIN32_NT:
        switch (info.dwMajorVersion) {
        case 3: return "WindowsNT 3.51";
        case 4: return "WindowsNT 4.0";
        case 5:
            switch (info.dwMinorVersion) {
            case 0: return "Windows 2000";
            case 1: return "Windows XP";
            case 2: return "Windows 2003";
            default: return "";
            }
        case 6:
            switch (info.dwMinorVersion) {
            case 0: return "Windows Vista";
            case 1: return "Windows 7";
            case 2: return "Windows 8";
            default: return "";
            }
        default: return "";
        }
    default:
        return "\xE6\x9C\xAA\xE7\x9F\xA5\xE7\xB3\xBB\xE7\xBB\x9F\xE7\x89\x88\xE6\x9C\xAC";  // 未知系统版本
    }
}

bool Form1::Is64bit() const
{
    using IsWow64ProcessFunction = BOOL (*)(HANDLE, PBOOL);
    // Looked up at run time: systems before XP SP2 lack the function.
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process");
    if (!found)
        return false;
    BOOL wow64 = FALSE;
    reinterpret_cast<IsWow64ProcessFunction>(found)(GetCurrentProcess(), &wow64);
    return wow64 != FALSE;
}

void Form1::btn_conn_Click()
{
    const std::string path = m_appPath + "/Software" + "/setup.exe";
    try {
        if (forms::FileExists(path)) {
            forms::Shell(path);
            return;
        }
    } catch (const std::exception& error) {
        forms::MsgBox(this, "Cannot start the setup program!\r\n" + path + "\r\n" + error.what(), MB_OK, kTitle);
        return;
    }
    forms::MsgBox(this, "File not found!\r\n" + path, MB_OK, kTitle);
}

std::string Form1::DriverInstallerPath() const
{
    if (SystemVer() == "Windows XP")
        return m_appPath + "/Software" + "/Driver_xp" + "/CP210xVCPInstaller.exe";
    if (Is64bit())
        return m_appPath + "/Software" + "/Driver" + "/CP210xVCPInstaller_x64.exe";
    return m_appPath + "/Software" + "/Driver" + "/CP210xVCPInstaller_x86.exe";
}

void Form1::Image1_Click()
{
    try {
        const std::string path = DriverInstallerPath();
        if (forms::FileExists(path)) {
            forms::Shell(path);
            return;
        }
        forms::MsgBox(this, "File not found!\r\n" + path, MB_OK, kTitle);
    } catch (const std::exception&) {
        forms::MsgBox(this, "Drive type error!", MB_OK, kTitle);
    }
}

void Form1::Image2_Click()
{
    Unload();
}

void Form1::Form_MouseDown(int, int, int, int)
{
    ReleaseCapture();
    SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
