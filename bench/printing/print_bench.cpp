// Time to print the data table of a recording to a PDF printer at 300 dpi: the
// whole job from the dialog's answer to the finished file.
#include "meterapp/print_pages.h"

#include "decibar_resources.h"

#include <afx/testing.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CBenchApp : public CWinApp {
public:
    CBenchApp() : CWinApp(L"Decibar") {}
} theApp;

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 40000;
    const std::string pdf = argc > 2 ? argv[2] : "/tmp/decibar-print-bench.pdf";
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
    PrintDataTable(job, records, stat);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    AfxTestSetModalAnswerer(nullptr);

    struct stat st {};
    const long long bytes = ::stat(pdf.c_str(), &st) == 0 ? st.st_size : -1;
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records %d: %.2f s, %.0f records/s, PDF %.1f MB (%s), peak memory %.0f MB\n", count, seconds,
        count / seconds, bytes / 1e6, pdf.c_str(), usage.ru_maxrss / 1024.0);
    DeleteAllRecords(&records);
    return bytes > 0 ? 0 : 1;
}
