#pragma once

#include <string>
#include <vector>

namespace quill {

// The process-wide cookie store that stands in for the platform client's own: used by every
// request whose caller brings no cookie text. Cookies are kept as libcurl's cookie-file lines
// (domain, flag, path, secure, expiry, name, value separated by tabs). Safe from any thread.

// The cookies to hand to a request before it runs.
std::vector<std::string> StoredCookies();

// Applies what one request did to the cookies it was handed: `before` is what StoredCookies gave
// it, `after` what its handle holds when it ends. Only cookies that request changed, added or
// dropped are written, so requests running at the same time do not undo each other.
void UpdateStoredCookies(const std::vector<std::string>& before,
                         const std::vector<std::string>& after);

} // namespace quill
