#include "gui_support.h"

namespace {

std::thread::id g_uiThread;

// The program's application object, as every program of the layer has one.
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(L"AfxTest") {}
};
CTestApp theApp;

// Bitmap 900: 3 x 2 pixels red, green, blue / white, black, grey.
// Bitmap 800: the grey strip of three 17 x 15 tool-bar images.
const uint32_t kTiny[] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu, 0x00000000u, 0x00808080u};
const std::vector<uint32_t> kStrip(17 * 3 * 15, 0x00C0C0C0u);

bool TestImages(AfxImageKind kind, UINT id, AfxImage* out)
{
    if (kind == AfxImageKind::Bitmap && id == 900) {
        *out = AfxImage{3, 2, kTiny};
        return true;
    }
    if (kind == AfxImageKind::Bitmap && id == 800) {
        *out = AfxImage{17 * 3, 15, kStrip.data()};
        return true;
    }
    return false;
}

class LayerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        g_uiThread = std::this_thread::get_id();
        AfxTestInitialize();
        AfxSetImageSource(&TestImages);
    }
};

const auto* g_environment = ::testing::AddGlobalTestEnvironment(new LayerEnvironment);

}  // namespace

std::thread::id UiThread()
{
    return g_uiThread;
}
