// Time to print a recording to a PDF printer at 300 dpi: the whole job from
// the dialog's answer to the finished file.
//   table [records]   the data table (40,000 records when left out)
//   graph [records]   the graph page of the whole recording, unzoomed, as the
//                     main view shows it after the recording
#include "meterapp/print_pages.h"

#include "decibar_resources.h"
#include "graph/geometry.h"

#include <afx/testing.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class CBenchApp : public CWinApp {
public:
    CBenchApp() : CWinApp(L"Decibar") {}
} theApp;

// The graph control of a maximised main window on a 1280 x 1024 screen.
constexpr int kGraphWidth = 982;
constexpr int kGraphHeight = 592;

int Usage()
{
    std::fprintf(stderr, "usage: decibar_print_bench [table|graph] [records] [out.pdf]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    const bool graphPage = argc > arg && std::strcmp(argv[arg], "graph") == 0;
    if (argc > arg && (graphPage || std::strcmp(argv[arg], "table") == 0))
        ++arg;
    const int count = argc > arg ? std::atoi(argv[arg++]) : 40000;
    const std::string pdf = argc > arg ? argv[arg++] : "/tmp/decibar-print-bench.pdf";
    if (count <= 0 || argc > arg)
        return Usage();
    AfxTestInitialize();
    RegisterDecibarResources();

    CObArray records;
    for (int i = 0; i < count; ++i) {
        CString time;
        time.Format(L"05-03-2017,%.2d:%.2d:%.2d", 14 + i / 3600 % 10, i / 60 % 60, i % 60);
        records.Add(new CObjData(40.0 + (i % 600) / 10.0, time, L"dBA", 0, 0.5));
    }
    SStatInfo stat;
    stat.max = 99.9;
    stat.min = 40.0;
    stat.average = 70.0;
    stat.startTime = RecordAt(records, 0)->m_strDateTime;
    stat.interval = 0.5;

    const std::wstring path(pdf.begin(), pdf.end());
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        if (r.kind == AfxModalRequest::PrintDialog)
            AfxTestChoosePdfPrinter(static_cast<CPrintDialog*>(r.dialog), path.c_str());
        return static_cast<int>(IDOK);
    });
    CPrintRX job;
    const auto start = std::chrono::steady_clock::now();
    if (graphPage) {
        SGraphState view;
        graph::SetUpView(view, kGraphWidth, kGraphHeight);
        graph::AutoScaleOrScroll(view, count, [] {});
        PrintGraphPage(job, records, view, [&](CDC& dc, int left, int top, double xRatio) {
            DrawGraphPage(dc, records, view, kGraphWidth, left, top, xRatio, stat);
        });
    } else {
        PrintDataTable(job, records, stat);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    AfxTestSetModalAnswerer(nullptr);

    struct stat st {};
    const long long bytes = ::stat(pdf.c_str(), &st) == 0 ? st.st_size : -1;
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s of %d records: %.2f s, %.0f records/s, PDF %.1f MB (%s), peak memory %.0f MB\n",
        graphPage ? "graph" : "table", count, seconds, count / seconds, bytes / 1e6, pdf.c_str(),
        usage.ru_maxrss / 1024.0);
    DeleteAllRecords(&records);
    return bytes > 0 ? 0 : 1;
}
