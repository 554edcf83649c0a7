#include "local_server.h"

#include <chrono>

namespace quill::testing {

LocalServer::LocalServer() = default;

LocalServer::~LocalServer() { stop(); }

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
