#include "web/cookie_store.h"

#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>

namespace quill {
namespace {

using CookieLines = std::map<std::string, std::string>;
using Fields = std::vector<std::string>;

constexpr char kHttpOnlyPrefix[] = "#HttpOnly_";
constexpr std::size_t kDomainField = 0;
constexpr std::size_t kPathField = 2;
constexpr std::size_t kExpiryField = 4;
constexpr std::size_t kNameField = 5;
constexpr std::size_t kFieldCount = 7;

class CookieStore final {
  public:
    static CookieStore& instance() {
        // Never destroyed: detached download workers may still be fetching while the program ends.
        static CookieStore* const store = new CookieStore;
        return *store;
    }

    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<std::string> lines;
        for (const auto& [key, line] : m_lines) {
            lines.push_back(line);
        }
        return lines;
    }

    void update(const CookieLines& before, const CookieLines& after) {
        std::lock_guard<std::mutex> guard(m_lock);
        for (const auto& [key, line] : before) {
            if (!after.contains(key)) {
                m_lines.erase(key);
            }
        }
        for (const auto& [key, line] : after) {
            const auto seen = before.find(key);
            if (seen == before.end() || seen->second != line) {
                m_lines[key] = line;
            }
        }
    }

  private:
    std::mutex m_lock;
    CookieLines m_lines;
};

// Split at every tab byte: cookie values may hold code page 936 bytes, and the lines are no text.
Fields FieldsOf(const std::string& line) {
    Fields fields;
    std::size_t begin = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;
         tab = line.find('\t', begin)) {
        fields.push_back(line.substr(begin, tab - begin));
        begin = tab + 1;
    }
    fields.push_back(line.substr(begin));
    return fields;
}

std::string WithoutHttpOnlyPrefix(const std::string& domain) {
    const std::string prefix = kHttpOnlyPrefix;
    return domain.starts_with(prefix) ? domain.substr(prefix.size()) : domain;
}

// A cookie is one per domain, path and name, as a browser keeps it.
std::string CookieKey(const Fields& fields) {
    return WithoutHttpOnlyPrefix(fields[kDomainField]) + '\t' + fields[kPathField] + '\t' +
           fields[kNameField];
}

bool HasExpired(const Fields& fields, std::time_t now) {
    const long long expiry = std::strtoll(fields[kExpiryField].c_str(), nullptr, 10);
    return expiry > 0 && expiry < now;
}

// Well-formed, unexpired lines by key; an expired cookie counts as dropped.
CookieLines LiveCookies(const std::vector<std::string>& lines) {
    const std::time_t now = std::time(nullptr);
    CookieLines live;
    for (const std::string& line : lines) {
        const Fields fields = FieldsOf(line);
        if (fields.size() >= kFieldCount && !HasExpired(fields, now)) {
            live[CookieKey(fields)] = line;
        }
    }
    return live;
}

} // namespace

std::vector<std::string> StoredCookies() {
    return CookieStore::instance().lines();
}

void UpdateStoredCookies(const std::vector<std::string>& before,
                         const std::vector<std::string>& after) {
    CookieStore::instance().update(LiveCookies(before), LiveCookies(after));
}

} // namespace quill
