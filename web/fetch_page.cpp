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

// The request the arguments describe. It builds the header block in `headers` and fills an empty
// `postBytes` from the text for POST and HEAD, as the caller sees them afterwards.
TransferRequest RequestFor(const Text& url, const FetchArgs& args, Text& headers,
                           Bytes& postBytes) {
    TransferRequest request;
    request.method = MethodOf(args.method);
    request.url = url;
    request.agent = UserAgentFor(headers);
    const bool cookiesSupplied = args.cookies != nullptr;
    headers = RequestHeaderBlock(headers, url, cookiesSupplied ? *args.cookies : Text());
    request.headerBlock = headers;
    if (request.method != Method::Get && postBytes.empty()) {
        postBytes = BytesFromText(args.postText);
    }
    // A HEAD request goes without a body: a server reads none, so it would be taken for the
    // start of the next request on the connection.
    if (request.method == Method::Post) {
        request.body = postBytes;
    }
    request.proxy = args.proxy;
    request.followRedirects = !args.noRedirect;
    request.useCookieStore = !cookiesSupplied;
    return request;
}

} // namespace

Bytes FetchPage(const Text& url, const FetchArgs& args) {
    Workspace workspace;
    Text& headers = ArgumentOr(args.headers, workspace.headers);
    Text& responseHeaders = ArgumentOr(args.responseHeaders, workspace.responseHeaders);
    Text& responseCookies = ArgumentOr(args.responseCookies, workspace.responseCookies);
    Bytes& postBytes = ArgumentOr(args.postBytes, workspace.postBytes);

    TransferResult result = RunTransfer(RequestFor(url, args, headers, postBytes));
    responseHeaders = WithSetCookieSpelled(result.rawHeaders);
    responseCookies = CookiesFromHeaders(responseHeaders);
    if (args.mergeCookies && args.cookies != nullptr) {
        responseCookies = MergeCookies(*args.cookies, responseCookies);
    }
    return std::move(result.body);
}

} // namespace quill
