#include "web/request_text.h"

#include "core/text_rules.h"
#include "web/header_text.h"

namespace quill {
namespace {

const Text kCrLf = "\r\n";
const Text kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The marker search is exact, letter case included, as a caller's lines are matched.
void AppendUnlessPresent(Text& block, const Text& marker, const Text& line) {
    if (!ContainsText(block, marker)) {
        block += kCrLf + line;
    }
}

Text CookieLine(const Text& cookies) {
    return ContainsText(cookies, "Cookie:") ? cookies : "Cookie: " + cookies;
}

} // namespace

Text UserAgentFor(const Text& headers) {
    if (FindTextIgnoreCase(headers, "User-Agent:") == -1) {
        return kDefaultAgent;
    }
    const Text agent = TrimText(TextBetween(headers + kCrLf, "User-Agent:", kCrLf));
    return agent.empty() ? TextAfterColon(headers) : agent;
}

Text RequestHeaderBlock(const Text& headers, const Text& url, const Text& cookies) {
    Text block = headers.empty() ? Text("Accept: */*") : headers;
    AppendUnlessPresent(block, "Accept:", "Accept: */*");
    AppendUnlessPresent(block, "Referer:", "Referer: " + url);
    AppendUnlessPresent(block, "Accept-Language:", "Accept-Language: zh-cn");
    AppendUnlessPresent(block, "Content-Type:", "Content-Type: application/x-www-form-urlencoded");
    if (!cookies.empty()) {
        block += kCrLf + CookieLine(cookies);
    }
    return block;
}

} // namespace quill
