// Shared pieces of the window-layer tests: the application object, a pump
// helper and a recorder of message boxes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "afx/afxwin.h"
#include "afx/testing.h"

// The thread the tests run on, which is the user-interface thread.
std::thread::id UiThread();

// A small dialog with one label, registered for every test program.
constexpr UINT IDD_PLAIN = 701;

// Answers every modal box with `answer` and keeps the texts of message boxes.
struct BoxRecorder {
    std::vector<std::wstring> texts;
    std::vector<UINT> types;
    int answer = IDOK;
    void Install()
    {
        AfxTestSetModalAnswerer([this](const AfxModalRequest& r) {
            if (r.kind == AfxModalRequest::MessageBox) {
                texts.push_back(r.text);
                types.push_back(r.type);
            }
            return answer;
        });
    }
    ~BoxRecorder() { AfxTestSetModalAnswerer(nullptr); }
};

inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    return AfxTestPumpUntil(done, timeoutMs);
}
