#pragma once

#include <curl/curl.h>
#include <memory>
#include <string>
#include <vector>

namespace quill::curl {

// Owners of libcurl objects: each handle is freed by exactly one holder.
struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

struct SlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistCleanup>;

struct ShareCleanup {
    void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
using ShareHandle = std::unique_ptr<CURLSH, ShareCleanup>;

// False when libcurl could not store every line.
bool AppendLines(Slist& list, const std::vector<std::string>& lines);
std::vector<std::string> LinesOf(const curl_slist* list);

} // namespace quill::curl
