// CUPS queues: what a queue prints on, and handing it a finished document.
#include <cups/cups.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "printer_device.h"

namespace afxwin {
namespace cups {

namespace {

const double kHundredthsPerMm = 100.0;

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct InfoDeleter {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using Dest = std::unique_ptr<cups_dest_t, DestDeleter>;
using Info = std::unique_ptr<cups_dinfo_t, InfoDeleter>;

Dest FindDest(const std::string& name)
{
    return Dest(name.empty() ? nullptr : cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr));
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
    Dest dest = FindDest(name);
    if (!dest)
        return false;
    setup->queue = name;
    Info info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info)
        return true;
    // The queue's "media-default" by name: libcups' own default look-up can
    // answer with a size the queue does not default to.
    cups_size_t size {};
    ipp_attribute_t* media = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info.get(), CUPS_MEDIA);
    const char* mediaName = media ? ippGetString(media, 0, nullptr) : nullptr;
    if ((mediaName && cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest.get(), info.get(), mediaName, 0, &size))
        || cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest.get(), info.get(), 0, &size))
        TakeSize(size, setup);
    if (ipp_attribute_t* res = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info.get(), "printer-resolution")) {
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
    Dest dest = FindDest(name);
    if (!dest)
        return false;
    Info info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    cups_size_t size {};
    if (!info ||
        !cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest.get(), info.get(),
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
    int job = cupsCreateJob(CUPS_HTTP_DEFAULT, setup.queue.c_str(), title.c_str(), count, options);
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
    bool ok = cupsStartDocument(CUPS_HTTP_DEFAULT, setup.queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) ==
              HTTP_STATUS_CONTINUE;
    char buffer[16384];
    size_t n = 0;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        ok = cupsWriteRequestData(CUPS_HTTP_DEFAULT, buffer, n) == HTTP_STATUS_CONTINUE;
    ok = !std::ferror(file) && ok;
    std::fclose(file);
    // The request is finished in every case, so that the connection can be used again.
    ok = cupsFinishDocument(CUPS_HTTP_DEFAULT, setup.queue.c_str()) == IPP_STATUS_OK && ok;
    if (!ok)
        CancelJob(setup, job);
    return ok;
}

void CancelJob(const PrinterSetup& setup, int job)
{
    if (job > 0)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, setup.queue.c_str(), job, 0);
}

}  // namespace cups
}  // namespace afxwin
