#include "raw_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace quill::testing {
namespace {

constexpr std::size_t kMaxRequestBytes = 1 << 20;
constexpr int kSocketTimeoutSeconds = 10;
constexpr int kAcceptPollMs = 50;
constexpr int kMaxRequestsPerConnection = 100000;
constexpr std::chrono::milliseconds kLongestStall = std::chrono::seconds(60);
const std::string kCrLf = "\r\n";

struct SslCtxFree {
    void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};
using SslContext = std::unique_ptr<SSL_CTX, SslCtxFree>;
using SslSession = std::unique_ptr<SSL, SslFree>;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// A client that went away must not end the test program.
void IgnoreBrokenPipes() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

SslContext ServerContext(const TlsIdentity& tls) {
    SslContext ctx(SSL_CTX_new(TLS_server_method()));
    if (!ctx || SSL_CTX_use_certificate_chain_file(ctx.get(), tls.certificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx.get(), tls.privateKeyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
        return nullptr;
    }
    return ctx;
}

// One accepted connection, plain or TLS.
class Channel final {
  public:
    Channel(int fd, SSL_CTX* tls) : m_fd(fd) {
        const timeval timeout{kSocketTimeoutSeconds, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        if (tls != nullptr) {
            m_ssl.reset(SSL_new(tls));
            m_ready = m_ssl && SSL_set_fd(m_ssl.get(), fd) == 1 && SSL_accept(m_ssl.get()) == 1;
        }
    }

    bool ready() const { return m_ready; }

    long read(char* buffer, int size) {
        return m_ssl ? SSL_read(m_ssl.get(), buffer, size) : recv(m_fd, buffer, size, 0);
    }

    bool writeAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const long sent = m_ssl ? SSL_write(m_ssl.get(), bytes.data(), bytes.size())
                                    : send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    void closeOrderly() {
        if (m_ssl) {
            SSL_shutdown(m_ssl.get());
        }
        shutdown(m_fd, SHUT_WR);
    }

    // Closing with a zero linger time sends a reset instead of a FIN.
    void prepareReset() {
        const linger abort{1, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }

  private:
    int m_fd;
    SslSession m_ssl;
    bool m_ready = true;
};

std::size_t ContentLength(const RawRequest& request) {
    const std::string value = request.header("Content-Length");
    return std::min<std::size_t>(std::strtoul(value.c_str(), nullptr, 10), kMaxRequestBytes);
}

std::vector<std::string> LinesOf(const std::string& head) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end = head.find(kCrLf); end != std::string::npos;
         end = head.find(kCrLf, begin)) {
        lines.push_back(head.substr(begin, end - begin));
        begin = end + kCrLf.size();
    }
    lines.push_back(head.substr(begin));
    return lines;
}

// Reads one request: the head up to its blank line, then a body of Content-Length bytes.
std::optional<RawRequest> ReadRequest(Channel& channel) {
    std::string received;
    char buffer[4096];
    std::size_t headEnd = std::string::npos;
    while (received.size() < kMaxRequestBytes) {
        if (headEnd == std::string::npos) {
            headEnd = received.find(kCrLf + kCrLf);
        }
        if (headEnd != std::string::npos) {
            RawRequest request;
            std::vector<std::string> lines = LinesOf(received.substr(0, headEnd));
            request.requestLine = lines.front();
            request.headerLines.assign(lines.begin() + 1, lines.end());
            const std::size_t bodyStart = headEnd + 2 * kCrLf.size();
            if (received.size() - bodyStart >= ContentLength(request)) {
                request.body = received.substr(bodyStart, ContentLength(request));
                return request;
            }
        }
        const long count = channel.read(buffer, sizeof buffer);
        if (count <= 0) {
            return std::nullopt;
        }
        received.append(buffer, static_cast<std::size_t>(count));
    }
    return std::nullopt;
}

} // namespace

std::string RawRequest::head() const {
    std::string head = requestLine;
    for (const std::string& line : headerLines) {
        head += kCrLf + line;
    }
    return head;
}

std::string RawRequest::header(std::string_view name) const {
    const std::string wanted = Lower(name) + ":";
    for (const std::string& line : headerLines) {
        if (Lower(line).starts_with(wanted)) {
            return Trim(std::string_view(line).substr(wanted.size()));
        }
    }
    return {};
}

std::string RawRequest::target() const {
    const std::size_t first = requestLine.find(' ');
    const std::size_t last = requestLine.rfind(' ');
    if (first == std::string::npos || last <= first) {
        return {};
    }
    return requestLine.substr(first + 1, last - first - 1);
}

namespace {

std::string ResponseHead(int status, std::string_view body,
                         const std::vector<std::string>& headerLines) {
    std::string head = "HTTP/1.1 " + std::to_string(status) + " Status" + kCrLf;
    for (const std::string& line : headerLines) {
        head += line + kCrLf;
    }
    return head + "Content-Length: " + std::to_string(body.size()) + kCrLf;
}

} // namespace

RawReply HttpReply(int status, std::string_view body, const std::vector<std::string>& headerLines) {
    const std::string bytes = ResponseHead(status, body, headerLines) + "Connection: close" +
                              kCrLf + kCrLf + std::string(body);
    return {bytes, RawReply::Ending::Close};
}

RawReply KeepAliveReply(int status, std::string_view body) {
    return {ResponseHead(status, body, {}) + kCrLf + std::string(body), RawReply::Ending::KeepOpen};
}

struct RawServer::State {
    Handler handler;
    SslContext tls;
    bool secure = false;
    int listenFd = -1;
    int port = 0;
    std::atomic<bool> stopping{false};
    mutable std::mutex lock;
    std::condition_variable stopped;
    std::vector<RawRequest> requests;
    std::set<int> openFds;
    int connectionCount = 0;
    std::vector<std::thread> connections;
    std::thread acceptor;

    void listen() {
        listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listenFd, 64);
        getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        acceptor = std::thread([this] { acceptLoop(); });
    }

    void acceptLoop() {
        while (!stopping) {
            pollfd waiting{listenFd, POLLIN, 0};
            if (poll(&waiting, 1, kAcceptPollMs) <= 0) {
                continue;
            }
            const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                continue;
            }
            std::lock_guard<std::mutex> guard(lock);
            openFds.insert(fd);
            const int connection = ++connectionCount;
            connections.emplace_back([this, fd, connection] { serve(fd, connection); });
        }
    }

    void serve(int fd, int connection) {
        {
            Channel channel(fd, tls.get());
            for (int served = 0; channel.ready() && served < kMaxRequestsPerConnection; ++served) {
                if (!answer(channel, connection)) {
                    break;
                }
            }
        }
        std::lock_guard<std::mutex> guard(lock);
        openFds.erase(fd);
        close(fd);
    }

    // True when the connection stays open for another request.
    bool answer(Channel& channel, int connection) {
        std::optional<RawRequest> request = ReadRequest(channel);
        if (!request) {
            return false;
        }
        request->connection = connection;
        {
            std::lock_guard<std::mutex> guard(lock);
            requests.push_back(*request);
        }
        const RawReply reply = handler(*request);
        send(channel, reply);
        switch (reply.ending) {
        case RawReply::Ending::KeepOpen:
            return !stopping;
        case RawReply::Ending::Close:
            channel.closeOrderly();
            break;
        case RawReply::Ending::Reset:
            channel.prepareReset();
            break;
        case RawReply::Ending::Stall:
            waitForStop();
            break;
        }
        return false;
    }

    void send(Channel& channel, const RawReply& reply) {
        if (reply.trickleBytes == 0) {
            channel.writeAll(reply.bytes);
            return;
        }
        for (std::size_t at = 0; at < reply.bytes.size() && !stopping; at += reply.trickleBytes) {
            if (at > 0) {
                waitForStop(reply.tricklePause);
            }
            if (!channel.writeAll(std::string_view(reply.bytes).substr(at, reply.trickleBytes))) {
                return;
            }
        }
    }

    void waitForStop(std::chrono::milliseconds longest = kLongestStall) {
        std::unique_lock<std::mutex> guard(lock);
        stopped.wait_for(guard, longest, [this] { return stopping.load(); });
    }

    void stop() {
        if (!acceptor.joinable()) {
            return;
        }
        stopping = true;
        // Wakes the acceptor at once rather than at its next poll.
        shutdown(listenFd, SHUT_RDWR);
        acceptor.join();
        std::vector<std::thread> ending;
        {
            std::lock_guard<std::mutex> guard(lock);
            stopped.notify_all();
            for (const int fd : openFds) {
                shutdown(fd, SHUT_RDWR);
            }
            ending.swap(connections);
        }
        for (std::thread& connection : ending) {
            connection.join();
        }
        close(listenFd);
    }
};

RawServer::RawServer(Handler handler, std::optional<TlsIdentity> tls)
    : m_state(std::make_unique<State>()) {
    IgnoreBrokenPipes();
    m_state->handler = std::move(handler);
    if (tls) {
        m_state->secure = true;
        m_state->tls = ServerContext(*tls);
    }
    m_state->listen();
}

RawServer::~RawServer() {
    stop();
}

int RawServer::port() const {
    return m_state->port;
}

std::string RawServer::url(std::string_view path, std::string_view host) const {
    const std::string scheme = m_state->secure ? "https://" : "http://";
    return scheme + std::string(host) + ":" + std::to_string(m_state->port) + std::string(path);
}

std::vector<RawRequest> RawServer::requests() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->requests;
}

void RawServer::stop() {
    m_state->stop();
}

} // namespace quill::testing
