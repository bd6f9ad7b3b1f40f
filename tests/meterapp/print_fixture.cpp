#include "print_fixture.h"

#include "decibar_resources.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/tempdir.h"
#include "afx/win_codes.h"

namespace {

class CPrintTestApp : public CWinApp {
public:
    CPrintTestApp() : CWinApp(L"Decibar") {}
} theApp;

class PrintEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        AfxTestInitialize();
        RegisterDecibarResources();
    }
};

const auto* g_environment = ::testing::AddGlobalTestEnvironment(new PrintEnvironment);

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

} // namespace

RecordSet::RecordSet(int count, double interval)
{
    std::tm t {};
    t.tm_year = 2017 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
    t.tm_isdst = -1;
    std::time_t start = std::mktime(&t);
    for (int i = 0; i < count; ++i) {
        std::time_t at = start + i;
        std::tm local {};
        localtime_r(&at, &local);
        m_records.Add(new CObjData(40.0 + std::fmod(i * 0.25, 60.0), FormatSampleDateTime(local), L"dBA", 0, interval));
    }
}

void PrintGraphOf(CPrintRX& job, const CObArray& records, const SGraphState& view, int windowWidth,
    const SStatInfo& stat)
{
    PrintGraphPage(job, records, view, [&](CDC& dc, int left, int top, double xRatio) {
        DrawGraphPage(dc, records, view, windowWidth, left, top, xRatio, stat);
    });
}

RecordSet::~RecordSet()
{
    DeleteAllRecords(&m_records);
}

void RecordSet::Add(double value, const CString& dateTime)
{
    m_records.Add(new CObjData(value, dateTime, L"dBA", 0, 0.5));
}

SStatInfo StatisticsOf(const RecordSet& records, int count)
{
    SStatInfo stat;
    stat.max = 0;
    stat.min = 150;
    for (int i = 0; i < count; ++i) {
        const CObjData& r = records.At(i);
        if (r.m_dValue > stat.max) {
            stat.max = r.m_dValue;
            stat.maxTime = r.m_strDateTime;
        }
        if (r.m_dValue < stat.min) {
            stat.min = r.m_dValue;
            stat.minTime = r.m_strDateTime;
        }
        stat.sum += r.m_dValue;
    }
    stat.average = count > 0 ? stat.sum / count : 0;
    stat.startTime = count > 0 ? records.At(0).m_strDateTime : CString();
    stat.interval = count > 0 ? records.At(0).m_dInterval : 0;
    return stat;
}

PrintUser::PrintUser()
{
    AfxTestSetModalAnswerer([this](const AfxModalRequest& request) {
        requests.push_back(request);
        if (request.kind == AfxModalRequest::MessageBox) {
            messages.push_back(request.text);
            waitCursorAtMessage.push_back(AfxTestWaitCursorShown());
            return static_cast<int>(IDOK);
        }
        if (request.kind != AfxModalRequest::PrintDialog)
            return static_cast<int>(IDCANCEL);
        auto* dialog = static_cast<CPrintDialog*>(request.dialog);
        dialogs.push_back(dialog);
        if (cancel)
            return static_cast<int>(IDCANCEL);
        if (!queue.empty())
            AfxTestChooseQueue(dialog, queue.c_str(), copies);
        else
            AfxTestChoosePdfPrinter(dialog, Wide(pdfPath).c_str(), dpi, 210, 297, copies);
        return static_cast<int>(IDOK);
    });
}

PrintUser::~PrintUser()
{
    AfxTestSetModalAnswerer(nullptr);
}

int PrintUser::PrintDialogs() const
{
    return static_cast<int>(dialogs.size());
}

int PrintLineHeight(int dpi)
{
    DEVMODE dm {};
    dm.dmFields = DM_PRINTQUALITY;
    dm.dmPrintQuality = static_cast<short>(dpi);
    testutil::TempDir dir;
    const std::wstring unused = Wide(dir.path() + "/line-height.pdf");
    CDC dc;
    EXPECT_TRUE(dc.CreateDC(L"PDF", nullptr, unused.c_str(), &dm));
    EXPECT_GT(dc.StartDoc(L"Metrics"), 0);
    CFont font;
    CreatePrintFont(font, dc.GetDeviceCaps(VERTRES) / 80);
    CFont* old = dc.SelectObject(&font);
    TEXTMETRIC tm {};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    dc.AbortDoc();
    return tm.tmHeight + tm.tmExternalLeading;
}
