// Measures how long another thread waits for the user-interface thread: one
// SendMessage, and one drawing call on a memory context (the reader thread
// draws the meter face this way, some tens of calls per frame).
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "afx/afxwin.h"
#include "afx/testing.h"

namespace {

constexpr UINT IDD_BENCH = 990;
const AfxDlgItem kItems[] = {{AfxControlKind::Static, IDC_STATIC, L"bench", 4, 4, 40, 8, WS_VISIBLE}};
const AfxDialogTemplate kBench{L"Bench", L"Arial", 9, WS_POPUP | WS_CAPTION, 100, 50, kItems, 1};

class CTarget : public CDialog {
public:
    CTarget() : CDialog(IDD_BENCH) {}

protected:
    LRESULT OnPing(WPARAM w, LPARAM) { return static_cast<LRESULT>(w); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CDialog)
    ON_MESSAGE(WM_USER + 1, &CTarget::OnPing)
END_MESSAGE_MAP()

class CBenchApp : public CWinApp {
public:
    CBenchApp() : CWinApp(L"Bench") {}
} theApp;

template <class F> double MicrosecondsPerCall(int count, F&& work)
{
    std::atomic<bool> done{false};
    double perCall = 0;
    std::thread other([&] {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i)
            work(i);
        perCall = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / count;
        done = true;
    });
    AfxTestPumpUntil([&] { return done.load(); }, 60000);
    other.join();
    return perCall;
}

}  // namespace

int main()
{
    AfxTestInitialize();
    AfxRegisterDialog(IDD_BENCH, kBench);
    CTarget target;
    if (!target.Create(IDD_BENCH))
        return 1;
    const int count = 2000;
    double send = MicrosecondsPerCall(count, [&](int i) { target.SendMessage(WM_USER + 1, static_cast<WPARAM>(i), 0); });
    CBitmap bitmap;
    CDC mem;
    double draw = MicrosecondsPerCall(count, [&](int i) {
        if (i == 0) {
            bitmap.CreateBitmap(195, 461);
            mem.CreateCompatibleDC(nullptr);
            mem.SelectObject(&bitmap);
        }
        mem.FillSolidRect(i % 100, 10, 5, 5, RGB(128, 140, 128));
    });
    std::printf("SendMessage from another thread: %.1f us per call\n", send);
    std::printf("drawing call from another thread: %.1f us per call\n", draw);
    target.DestroyWindow();
    return 0;
}
