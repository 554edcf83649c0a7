#pragma once

#include "web/curl_handles.h"

namespace quill::curl {

// A handle whose cookie engine is on carries the process-wide store; one that never had it
// switched on sends and keeps no cookies at all.
enum class CookieMode { Store, Off };

// Borrows an easy handle from the process-wide pool for one thread and one request. The handle
// comes reset, attached to the shared DNS and TLS-session caches, with its live connections kept;
// it goes back to the pool when the lease ends.
class HandleLease final {
  public:
    explicit HandleLease(CookieMode mode);
    ~HandleLease();
    HandleLease(const HandleLease&) = delete;
    HandleLease& operator=(const HandleLease&) = delete;

    // Null when libcurl could not make a handle.
    CURL* get() const { return m_handle.get(); }

  private:
    CookieMode m_mode;
    EasyHandle m_handle;
};

} // namespace quill::curl
