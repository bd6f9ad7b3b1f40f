// The CUPS calls of the printing code, each handing over to libcups, which is
// opened the first time one of them is made rather than when the program
// starts: with the TLS and Kerberos libraries it brings and sets up, it costs
// every start time and about 3 MB, and only printing needs it. When libcups
// cannot be opened the calls fail as they do with no scheduler: no queues, no
// connection, no job.
#include <cups/cups.h>

#include <dlfcn.h>

namespace {

void* Library()
{
    static void* const handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    return handle;
}

template <typename Function>
Function* Resolve(const char* name)
{
    void* library = Library();
    return library ? reinterpret_cast<Function*>(dlsym(library, name)) : nullptr;
}

}  // namespace

// Defines `name` to call libcups's own, or to give `failure` without it.
#define AFX_CUPS_CALL(result, name, parameters, arguments, failure)                  \
    result name parameters                                                         \
    {                                                                              \
        static decltype(&name) const call = Resolve<decltype(name)>(#name);        \
        if (!call)                                                                 \
            return failure;                                                        \
        return call arguments;                                                     \
    }

AFX_CUPS_CALL(const char*, cupsServer, (), (), "localhost")
AFX_CUPS_CALL(void, cupsSetServer, (const char* server), (server), )
AFX_CUPS_CALL(http_encryption_t, cupsEncryption, (), (), HTTP_ENCRYPTION_IF_REQUESTED)
AFX_CUPS_CALL(int, ippPort, (), (), 631)
AFX_CUPS_CALL(http_t*, httpConnect2,
    (const char* host, int port, http_addrlist_t* addrlist, int family, http_encryption_t encryption, int blocking,
        int msec, int* cancel),
    (host, port, addrlist, family, encryption, blocking, msec, cancel), nullptr)
AFX_CUPS_CALL(void, httpSetTimeout, (http_t * http, double timeout, http_timeout_cb_t cb, void* user_data),
    (http, timeout, cb, user_data), )
AFX_CUPS_CALL(void, httpClose, (http_t * http), (http), )
AFX_CUPS_CALL(int, cupsGetDests2, (http_t * http, cups_dest_t** dests), (http, dests), 0)
AFX_CUPS_CALL(cups_dest_t*, cupsGetDest, (const char* name, const char* instance, int num_dests, cups_dest_t* dests),
    (name, instance, num_dests, dests), nullptr)
AFX_CUPS_CALL(cups_dest_t*, cupsGetNamedDest, (http_t * http, const char* name, const char* instance),
    (http, name, instance), nullptr)
AFX_CUPS_CALL(int, cupsCopyDest, (cups_dest_t * dest, int num_dests, cups_dest_t** dests), (dest, num_dests, dests),
    num_dests)
AFX_CUPS_CALL(void, cupsFreeDests, (int num_dests, cups_dest_t* dests), (num_dests, dests), )
AFX_CUPS_CALL(cups_dinfo_t*, cupsCopyDestInfo, (http_t * http, cups_dest_t* dest), (http, dest), nullptr)
AFX_CUPS_CALL(void, cupsFreeDestInfo, (cups_dinfo_t * dinfo), (dinfo), )
AFX_CUPS_CALL(ipp_attribute_t*, cupsFindDestDefault,
    (http_t * http, cups_dest_t* dest, cups_dinfo_t* dinfo, const char* option), (http, dest, dinfo, option), nullptr)
AFX_CUPS_CALL(int, cupsGetDestMediaDefault,
    (http_t * http, cups_dest_t* dest, cups_dinfo_t* dinfo, unsigned flags, cups_size_t* size),
    (http, dest, dinfo, flags, size), 0)
AFX_CUPS_CALL(int, cupsGetDestMediaByName,
    (http_t * http, cups_dest_t* dest, cups_dinfo_t* dinfo, const char* media, unsigned flags, cups_size_t* size),
    (http, dest, dinfo, media, flags, size), 0)
AFX_CUPS_CALL(int, cupsGetDestMediaBySize,
    (http_t * http, cups_dest_t* dest, cups_dinfo_t* dinfo, int width, int length, unsigned flags, cups_size_t* size),
    (http, dest, dinfo, width, length, flags, size), 0)
AFX_CUPS_CALL(const char*, ippGetString, (ipp_attribute_t * attr, int element, const char** language),
    (attr, element, language), nullptr)
AFX_CUPS_CALL(int, ippGetResolution, (ipp_attribute_t * attr, int element, int* yres, ipp_res_t* units),
    (attr, element, yres, units), 0)
AFX_CUPS_CALL(int, cupsAddOption, (const char* name, const char* value, int num_options, cups_option_t** options),
    (name, value, num_options, options), num_options)
AFX_CUPS_CALL(void, cupsFreeOptions, (int num_options, cups_option_t* options), (num_options, options), )
AFX_CUPS_CALL(int, cupsCreateJob,
    (http_t * http, const char* name, const char* title, int num_options, cups_option_t* options),
    (http, name, title, num_options, options), 0)
AFX_CUPS_CALL(http_status_t, cupsStartDocument,
    (http_t * http, const char* name, int job_id, const char* docname, const char* format, int last_document),
    (http, name, job_id, docname, format, last_document), HTTP_STATUS_ERROR)
AFX_CUPS_CALL(http_status_t, cupsWriteRequestData, (http_t * http, const char* buffer, size_t length),
    (http, buffer, length), HTTP_STATUS_ERROR)
AFX_CUPS_CALL(ipp_status_t, cupsFinishDocument, (http_t * http, const char* name), (http, name),
    IPP_STATUS_ERROR_INTERNAL)
AFX_CUPS_CALL(ipp_status_t, cupsCancelJob2, (http_t * http, const char* name, int job_id, int purge),
    (http, name, job_id, purge), IPP_STATUS_ERROR_INTERNAL)
AFX_CUPS_CALL(int, cupsGetJobs2, (http_t * http, cups_job_t** jobs, const char* name, int myjobs, int whichjobs),
    (http, jobs, name, myjobs, whichjobs), -1)
AFX_CUPS_CALL(void, cupsFreeJobs, (int num_jobs, cups_job_t* jobs), (num_jobs, jobs), )
