#include "local_server.h"

#include <chrono>

namespace quill::testing {

LocalServer::LocalServer() {
    // A reused connection would otherwise wait for the client's delayed acknowledgement (some
    // 40 ms) between a response's header and body writes.
    m_server.set_tcp_nodelay(true);
    // One request per connection: stopping waits out the keep-alive time (5 s) of every idle
    // connection, and the client keeps its connections open for reuse. A test of reuse raises it.
    m_server.set_keep_alive_max_count(1);
}

LocalServer::~LocalServer() {
    stop();
}

void LocalServer::start() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    for (int i = 0; i < 500 && !m_server.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void LocalServer::stop() {
    if (m_thread.joinable()) {
        m_server.stop();
        m_thread.join();
    }
}

std::string LocalServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

} // namespace quill::testing
