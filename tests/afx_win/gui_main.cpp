#include "gui_support.h"

namespace {

std::thread::id g_uiThread;

// The program's application object, as every program of the layer has one.
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(L"AfxTest") {}
};
CTestApp theApp;

// Bitmap 900: 3 x 2 pixels red, green, blue / white, black, grey; 902 the
// same size with a pixel missing.
// Bitmap 800: the strip of three 17 x 15 tool-bar images, each a red 5 x 5
// square in the middle of the light grey that tool bars show through.
const uint32_t kTiny[] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu, 0x00000000u, 0x00808080u};

std::vector<uint32_t> ToolStrip()
{
    std::vector<uint32_t> strip(17 * 3 * 15, 0x00C0C0C0u);
    for (int image = 0; image < 3; ++image)
        for (int y = 5; y < 10; ++y)
            for (int x = 6; x < 11; ++x)
                strip[static_cast<size_t>(y * 17 * 3 + image * 17 + x)] = 0x00FF0000u;
    return strip;
}
const std::vector<uint32_t> kStrip = ToolStrip();

bool TestImages(AfxImageKind kind, UINT id, AfxImage* out)
{
    if (kind == AfxImageKind::Bitmap && id == 900) {
        *out = AfxImage{3, 2, std::vector<uint32_t>(std::begin(kTiny), std::end(kTiny))};
        return true;
    }
    if (kind == AfxImageKind::Bitmap && id == 902) {
        *out = AfxImage{3, 2, std::vector<uint32_t>(std::begin(kTiny), std::end(kTiny) - 1)};
        return true;
    }
    if (kind == AfxImageKind::Bitmap && id == 800) {
        *out = AfxImage{17 * 3, 15, kStrip};
        return true;
    }
    return false;
}

const AfxDlgItem kPlainItems[] = {
    {AfxControlKind::Static, IDC_STATIC, L"plain", 4, 4, 40, 8, WS_VISIBLE},
};
const AfxDialogTemplate kPlain{L"Plain", L"Arial", 9, WS_POPUP | WS_CAPTION, 120, 60, kPlainItems, 1};

class LayerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        g_uiThread = std::this_thread::get_id();
        AfxTestInitialize();
        AfxSetImageSource(&TestImages);
        AfxRegisterDialog(IDD_PLAIN, kPlain);
    }
    void TearDown() override { AfxTestShutdown(); }
};

const auto* g_environment = ::testing::AddGlobalTestEnvironment(new LayerEnvironment);

}  // namespace

std::thread::id UiThread()
{
    return g_uiThread;
}
