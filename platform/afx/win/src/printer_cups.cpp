// CUPS queues: what a queue prints on, and handing it a finished document.
#include <cups/cups.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "printer_device.h"

namespace afxwin {
namespace cups {

namespace {

const double kHundredthsPerMm = 100.0;

// Every request goes over a connection of our own with a time limit: on its
// default connection libcups waits for ever for a scheduler that takes the
// request and never answers, and the program's window waits with it. libcups
// retries a request that timed out, so the limit counts from the connection's
// start (or the last step that moved on) and, once passed, every further wait
// gives up after a second.
const auto kAnswerTime = std::chrono::seconds(15);
const int kWaitSeconds = 1;

class Connection {
public:
    Connection() : m_giveUpAt(std::chrono::steady_clock::now() + kAnswerTime)
    {
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(kAnswerTime).count()), nullptr);
        if (m_http)
            httpSetTimeout(m_http, kWaitSeconds, &Connection::KeepWaiting, this);
    }
    ~Connection()
    {
        if (m_http)
            httpClose(m_http);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* get() const { return m_http; }
    // A step has moved on: the limit counts afresh.
    void Renew() { m_giveUpAt = std::chrono::steady_clock::now() + kAnswerTime; }

private:
    static int KeepWaiting(http_t*, void* self)
    {
        return std::chrono::steady_clock::now() < static_cast<Connection*>(self)->m_giveUpAt ? 1 : 0;
    }

    std::chrono::steady_clock::time_point m_giveUpAt;
    http_t* m_http = nullptr;
};

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct InfoDeleter {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using Dest = std::unique_ptr<cups_dest_t, DestDeleter>;
using Info = std::unique_ptr<cups_dinfo_t, InfoDeleter>;

// The queue by name among those the scheduler lists (cupsGetNamedDest would
// also ask for the default queue on a connection of its own, with no limit).
Dest FindDest(http_t* http, const std::string& name)
{
    if (name.empty() || !http)
        return nullptr;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http, &dests);
    cups_dest_t* copy = nullptr;
    if (cups_dest_t* dest = cupsGetDest(name.c_str(), nullptr, count, dests))
        cupsCopyDest(dest, 0, &copy);
    cupsFreeDests(count, dests);
    return Dest(copy);
}

void TakeSize(const cups_size_t& size, PrinterSetup* setup)
{
    setup->media = size.media;
    setup->paperWidthMm = size.width / kHundredthsPerMm;
    setup->paperHeightMm = size.length / kHundredthsPerMm;
    setup->marginLeftMm = size.left / kHundredthsPerMm;
    setup->marginRightMm = size.right / kHundredthsPerMm;
    setup->marginTopMm = size.top / kHundredthsPerMm;
    setup->marginBottomMm = size.bottom / kHundredthsPerMm;
}

int AddJobOptions(const PrinterSetup& setup, cups_option_t** options)
{
    int count = 0;
    char copies[16];
    std::snprintf(copies, sizeof copies, "%d", setup.copies < 1 ? 1 : setup.copies);
    count = cupsAddOption(CUPS_COPIES, copies, count, options);
    if (!setup.media.empty())
        count = cupsAddOption(CUPS_MEDIA, setup.media.c_str(), count, options);
    return count;
}

}  // namespace

bool LookUpQueue(const std::string& name, PrinterSetup* setup)
{
    const Connection connection;
    http_t* http = connection.get();
    Dest dest = FindDest(http, name);
    if (!dest)
        return false;
    setup->queue = name;
    Info info(cupsCopyDestInfo(http, dest.get()));
    if (!info)
        return true;
    // The queue's "media-default" by name: libcups' own default look-up can
    // answer with a size the queue does not default to.
    cups_size_t size {};
    ipp_attribute_t* media = cupsFindDestDefault(http, dest.get(), info.get(), CUPS_MEDIA);
    const char* mediaName = media ? ippGetString(media, 0, nullptr) : nullptr;
    if ((mediaName && cupsGetDestMediaByName(http, dest.get(), info.get(), mediaName, 0, &size))
        || cupsGetDestMediaDefault(http, dest.get(), info.get(), 0, &size))
        TakeSize(size, setup);
    if (ipp_attribute_t* res = cupsFindDestDefault(http, dest.get(), info.get(), "printer-resolution")) {
        ipp_res_t units = IPP_RES_PER_INCH;
        int y = 0;
        int x = ippGetResolution(res, 0, &y, &units);
        if (units == IPP_RES_PER_CM) {
            x = static_cast<int>(std::lround(x * 2.54));
            y = static_cast<int>(std::lround(y * 2.54));
        }
        if (x > 0 && y > 0) {
            setup->dpiX = x;
            setup->dpiY = y;
        }
    }
    return true;
}

bool LookUpMedia(const std::string& name, double widthMm, double heightMm, PrinterSetup* setup)
{
    const Connection connection;
    http_t* http = connection.get();
    Dest dest = FindDest(http, name);
    if (!dest)
        return false;
    Info info(cupsCopyDestInfo(http, dest.get()));
    cups_size_t size {};
    if (!info ||
        !cupsGetDestMediaBySize(http, dest.get(), info.get(),
            static_cast<int>(std::lround(widthMm * kHundredthsPerMm)),
            static_cast<int>(std::lround(heightMm * kHundredthsPerMm)), 0, &size))
        return false;
    TakeSize(size, setup);
    return true;
}

int CreateJob(const PrinterSetup& setup, const std::string& title)
{
    cups_option_t* options = nullptr;
    int count = AddJobOptions(setup, &options);
    const Connection connection;
    const int job = connection.get()
        ? cupsCreateJob(connection.get(), setup.queue.c_str(), title.c_str(), count, options)
        : 0;
    cupsFreeOptions(count, options);
    return job;
}

bool SendDocument(const PrinterSetup& setup, int job, const std::string& title, const std::string& pdfPath)
{
    FILE* file = std::fopen(pdfPath.c_str(), "rb");
    if (!file) {
        CancelJob(setup, job);
        return false;
    }
    Connection connection;
    http_t* http = connection.get();
    bool ok = http && cupsStartDocument(http, setup.queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) ==
              HTTP_STATUS_CONTINUE;
    char buffer[16384];
    size_t n = 0;
    // A large document may take long to send: only a step that does not move on ends it.
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        connection.Renew();
        ok = cupsWriteRequestData(http, buffer, n) == HTTP_STATUS_CONTINUE;
    }
    ok = !std::ferror(file) && ok;
    std::fclose(file);
    // The request is finished in every case, so that the connection can be used again.
    connection.Renew();
    if (http)
        ok = cupsFinishDocument(http, setup.queue.c_str()) == IPP_STATUS_OK && ok;
    if (!ok)
        CancelJob(setup, job);
    return ok;
}

void CancelJob(const PrinterSetup& setup, int job)
{
    if (job <= 0)
        return;
    const Connection connection;
    if (connection.get())
        cupsCancelJob2(connection.get(), setup.queue.c_str(), job, 0);
}

}  // namespace cups
}  // namespace afxwin
