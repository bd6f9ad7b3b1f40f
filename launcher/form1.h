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

    void btn_conn_Click();  // Software
    void Image1_Click();    // Drivers
    void Image2_Click();    // Exit
    void Form_MouseDown(int button, int shift, int x, int y) override;

    forms::Image btn_conn;
    forms::Image Image1;
    forms::Image Image2;
    forms::Label Label1;

private:
    std::string DriverInstallerPath() const;

    std::string m_appPath;
};
