// Setwell's window: three picture buttons that start the main setup program,
// start the bridge-driver installer that fits the Windows version and
// bitness, or close the launcher; a press on the background drags the window.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"

#include <string>

class Form1 : public forms::Form {
public:
    // The caption of the launcher's message boxes.
    static const char* const kTitle;

    // `appPath`: the launcher's folder as App::Path gives it; the installer
    // paths are built onto it as they stand.
    explicit Form1(std::string appPath);

    // The Windows version's name, from the version the system reports; empty
    // for a version without a name.
    std::string SystemVer() const;
    // True when the launcher runs on 64-bit Windows.
    bool Is64bit() const;

    // Software: starts "<appPath>/Software/setup.exe" without waiting. A
    // missing file gives "File not found!" and the path; a file test or start
    // that fails gives "Cannot start the setup program!", the path and the
    // reason. The window stays open.
    void btn_conn_Click();
    // Drivers: starts the installer of Software/Driver_xp on Windows XP, else
    // the x64 or x86 one of Software/Driver, without waiting. A missing file
    // gives "File not found!" and the path; any other failure
    // "Drive type error!". The window stays open.
    void Image1_Click();
    // Exit: unloads the window, which ends the program.
    void Image2_Click();
    // Starts the desktop's move of the window.
    void Form_MouseDown(int button, int shift, int x, int y) override;

    forms::Image btn_conn;
    forms::Image Image1;
    forms::Image Image2;
    forms::Label Label1;

private:
    std::string DriverInstallerPath() const;

    std::string m_appPath;
};
