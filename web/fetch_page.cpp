#include "web/fetch_page.h"

#include "core/text_rules.h"
#include "web/curl_transfer.h"
#include "web/header_text.h"
#include "web/request_text.h"

namespace quill {
namespace {

// Stand-ins for the in/out arguments a caller left out.
struct Workspace {
    Text headers;
    Text responseHeaders;
    Text responseCookies;
    Bytes postBytes;
};

template <typename T> T& ArgumentOr(T* argument, T& standIn) {
    return argument != nullptr ? *argument : standIn;
}

Method MethodOf(int method) {
    switch (method) {
    case 1:
        return Method::Post;
    case 2:
        return Method::Head;
    default:
        return Method::Get;
    }
}

// Every spelling of the name, in any letter case, becomes "Set-Cookie".
Text WithSetCookieSpelled(const Text& rawHeaders) {
    static const Text name = "Set-Cookie";
    Text result = rawHeaders;
    for (int at = FindTextIgnoreCase(result, name); at != -1;
         at = FindTextIgnoreCase(result, name, at + static_cast<int>(name.size()))) {
        result.replace(at - 1, name.size(), name);
    }
    return result;
}

} // namespace

Bytes FetchPage(const Text& url, const FetchArgs& args) {
    Workspace workspace;
    Text& headers = ArgumentOr(args.headers, workspace.headers);
    Text& responseHeaders = ArgumentOr(args.responseHeaders, workspace.responseHeaders);
    Text& responseCookies = ArgumentOr(args.responseCookies, workspace.responseCookies);
    Bytes& postBytes = ArgumentOr(args.postBytes, workspace.postBytes);
    const bool cookiesSupplied = args.cookies != nullptr;

    TransferRequest request;
    request.method = MethodOf(args.method);
    request.url = url;
    request.agent = UserAgentFor(headers);
    headers = RequestHeaderBlock(headers, url, cookiesSupplied ? *args.cookies : Text());
    request.headerBlock = headers;
    if (request.method != Method::Get && postBytes.empty()) {
        postBytes = BytesFromText(args.postText);
    }
    // A HEAD request goes without its body: no server reads one, and it would wait for it.
    if (request.method == Method::Post) {
        request.body = postBytes;
    }
    request.proxy = args.proxy;
    request.followRedirects = !args.noRedirect;
    request.useCookieStore = !cookiesSupplied;

    TransferResult result = RunTransfer(request);
    responseHeaders = WithSetCookieSpelled(result.rawHeaders);
    responseCookies = CookiesFromHeaders(responseHeaders);
    if (args.mergeCookies && cookiesSupplied) {
        responseCookies = MergeCookies(*args.cookies, responseCookies);
    }
    return std::move(result.body);
}

} // namespace quill
