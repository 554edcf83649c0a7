#include "web/curl_session.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

#include "web/fetch_page.h"

namespace quill {

void InitWeb() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

namespace curl {
namespace {

// Enough for the six download workers and the window's own fetches.
constexpr std::size_t kIdleHandlesKept = 8;

// DNS answers and TLS sessions shared by every handle; live connections stay in the pooled
// handles, because libcurl cannot share a connection cache between concurrently running threads.
class Session final {
  public:
    static Session& instance() {
        // Never destroyed: detached download workers may still be fetching while the program ends.
        static Session* const session = new Session;
        return *session;
    }

    EasyHandle take(CookieMode mode) {
        EasyHandle handle = takeIdle(mode);
        if (!handle) {
            handle.reset(curl_easy_init());
        }
        if (handle) {
            prepare(handle.get());
        }
        return handle;
    }

    void give(CookieMode mode, EasyHandle handle) {
        std::lock_guard<std::mutex> guard(m_poolLock);
        std::vector<EasyHandle>& idle = m_idle[Index(mode)];
        if (idle.size() < kIdleHandlesKept) {
            idle.push_back(std::move(handle));
        }
    }

  private:
    Session() {
        InitWeb();
        m_share.reset(curl_share_init());
        if (m_share) {
            curl_share_setopt(m_share.get(), CURLSHOPT_LOCKFUNC, &Session::lock);
            curl_share_setopt(m_share.get(), CURLSHOPT_UNLOCKFUNC, &Session::unlock);
            curl_share_setopt(m_share.get(), CURLSHOPT_USERDATA, this);
            curl_share_setopt(m_share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
            curl_share_setopt(m_share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
        }
    }

    static std::size_t Index(CookieMode mode) { return mode == CookieMode::Store ? 0 : 1; }

    EasyHandle takeIdle(CookieMode mode) {
        std::lock_guard<std::mutex> guard(m_poolLock);
        std::vector<EasyHandle>& idle = m_idle[Index(mode)];
        if (idle.empty()) {
            return nullptr;
        }
        EasyHandle handle = std::move(idle.back());
        idle.pop_back();
        return handle;
    }

    // curl_easy_reset keeps the handle's live connections and caches; only options go.
    void prepare(CURL* handle) {
        curl_easy_reset(handle);
        curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
        if (m_share) {
            curl_easy_setopt(handle, CURLOPT_SHARE, m_share.get());
        }
    }

    std::mutex& mutexFor(curl_lock_data data) {
        return m_shareLocks[static_cast<std::size_t>(data)];
    }

    static void lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
        static_cast<Session*>(self)->mutexFor(data).lock();
    }

    static void unlock(CURL*, curl_lock_data data, void* self) {
        static_cast<Session*>(self)->mutexFor(data).unlock();
    }

    std::array<std::mutex, CURL_LOCK_DATA_LAST> m_shareLocks;
    ShareHandle m_share;
    std::mutex m_poolLock;
    std::array<std::vector<EasyHandle>, 2> m_idle;
};

} // namespace

HandleLease::HandleLease(CookieMode mode)
    : m_mode(mode), m_handle(Session::instance().take(mode)) {}

HandleLease::~HandleLease() {
    if (m_handle) {
        Session::instance().give(m_mode, std::move(m_handle));
    }
}

} // namespace curl
} // namespace quill
