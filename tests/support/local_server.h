#pragma once

#include <httplib.h>
#include <string>
#include <thread>

namespace quill::testing {

// An HTTP server on 127.0.0.1 and an ephemeral port, for tests. Add routes through server()
// before start(); the destructor stops it. It closes each connection after one response, so that
// stopping never waits on a connection the client keeps idle; a test of connection reuse raises
// server().set_keep_alive_max_count() and lowers set_keep_alive_timeout().
class LocalServer final {
  public:
    LocalServer();
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    httplib::Server& server() { return m_server; }
    // Binds and starts serving on a thread of its own; returns once the server accepts.
    void start();
    void stop();
    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::string url(const std::string& path) const;

  private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace quill::testing
