#include "PrintQueues.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace platform {

namespace {

struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct InfoFree {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestPtr = std::unique_ptr<cups_dest_t, DestFree>;
using InfoPtr = std::unique_ptr<cups_dinfo_t, InfoFree>;

DestPtr namedDest(const std::string& queue) {
    if (queue.empty())
        return DestPtr{};
    return DestPtr{cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr)};
}

} // namespace

std::optional<std::vector<PrintQueues::Source>> PrintQueues::Sources(const std::string& queue) {
    DestPtr dest = namedDest(queue);
    if (!dest)
        return std::nullopt;
    std::vector<Source> sources;
    InfoPtr info{cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get())};
    if (!info)
        return sources;
    ipp_attribute_t* supported = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest.get(), info.get(), "media-source");
    for (int i = 0; supported && i < ippGetCount(supported); ++i) {
        const char* keyword = ippGetString(supported, i, nullptr);
        if (!keyword || !*keyword)
            continue;
        // Two of a driver's sources may stand for the same IPP source (a "Cassette" and a "Main" tray).
        if (std::any_of(sources.begin(), sources.end(), [&](const Source& s) { return s.keyword == keyword; }))
            continue;
        const char* name = cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest.get(), info.get(), "media-source", keyword);
        sources.push_back({keyword, name && *name ? name : keyword});
    }
    return sources;
}

std::optional<std::string> PrintQueues::ConfigurationPage(const std::string& queue) {
    DestPtr dest = namedDest(queue);
    if (!dest)
        return std::nullopt;
    // The queue's IPP address names its scheduler and its resource; the web interface serves the
    // same resource over HTTP on the same port.
    const char* uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
    char scheme[32] = "", user[256] = "", host[256] = "", resource[1024] = "";
    int port = 0;
    if (!uri || httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, host, sizeof host,
                                &port, resource, sizeof resource) < HTTP_URI_STATUS_OK) {
        // A queue the scheduler has not described yet: its resource on the local scheduler.
        std::snprintf(host, sizeof host, "localhost");
        port = ippPort();
        std::snprintf(scheme, sizeof scheme, "ipp");
        std::snprintf(resource, sizeof resource, "/printers/%s", queue.c_str());
    }
    char page[2048];
    if (httpAssembleURI(HTTP_URI_CODING_ALL, page, sizeof page, std::string(scheme) == "ipps" ? "https" : "http",
                        nullptr, host, port, resource) < HTTP_URI_STATUS_OK)
        return std::nullopt;
    return std::string(page);
}

int PrintQueues::PrintFile(const std::string& queue, const std::string& file, const std::string& title,
                           const std::vector<std::pair<std::string, std::string>>& options) {
    if (queue.empty() || !namedDest(queue))
        return 0;
    int count = 0;
    cups_option_t* list = nullptr;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
    const int job = cupsPrintFile(queue.c_str(), file.c_str(), title.c_str(), count, list);
    cupsFreeOptions(count, list);
    return job;
}

std::optional<std::string> PrintQueues::JobAttribute(int jobId, const std::string& name) {
    if (jobId <= 0)
        return std::nullopt;
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", jobId);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/jobs/");
    std::optional<std::string> value;
    if (response) {
        ipp_attribute_t* attr = ippFindAttribute(response, name.c_str(), IPP_TAG_ZERO);
        if (attr && ippGetCount(attr) > 0) {
            char text[1024];
            ippAttributeString(attr, text, sizeof text);
            value = std::string(text);
        }
        ippDelete(response);
    }
    return value;
}

} // namespace platform
