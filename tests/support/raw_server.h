#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill::testing {

// One request exactly as it arrived.
struct RawRequest {
    std::string requestLine;
    std::vector<std::string> headerLines; // in order, unchanged
    std::string body;
    int connection = 0; // which connection brought it, counted from 1 in order of arrival

    // The request line and the header lines joined by CR LF, without the closing blank line.
    std::string head() const;
    // The trimmed value of the first header of that name, letter case ignored; empty if none.
    std::string header(std::string_view name) const;
    // The object of the request line: "/a" for "GET /a HTTP/1.1".
    std::string target() const;
};

// The bytes to send back and how the connection ends after them.
struct RawReply {
    enum class Ending {
        KeepOpen, // ready for the next request on the same connection
        Close,    // an orderly close
        Reset,    // a TCP reset
        Stall,    // nothing more until the server stops
    };
    std::string bytes;
    Ending ending = Ending::Close;
    // When set, the bytes go out in pieces of this size with a pause before each piece after the
    // first: a slow server that is still alive.
    std::size_t trickleBytes = 0;
    std::chrono::milliseconds tricklePause{0};
};

// A whole response: status line, `headerLines`, Content-Length, "Connection: close" and `body`.
RawReply HttpReply(int status, std::string_view body,
                   const std::vector<std::string>& headerLines = {});

// The same without "Connection: close", keeping the connection open for the client to reuse.
RawReply KeepAliveReply(int status, std::string_view body);

struct TlsIdentity {
    std::string certificateFile; // PEM
    std::string privateKeyFile;  // PEM
};

// A server on 127.0.0.1 and an ephemeral port that records every request byte for byte and
// answers with whatever bytes the handler returns, over TLS when given an identity. A connection
// carries further requests for as long as the replies keep it open. It also serves as a proxy: a
// proxied request arrives with an absolute address in its request line. The handler runs on the
// connection's own thread, so several may run at once. Serving starts in the constructor; the
// destructor stops it.
class RawServer final {
  public:
    using Handler = std::function<RawReply(const RawRequest&)>;

    explicit RawServer(Handler handler, std::optional<TlsIdentity> tls = std::nullopt);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int port() const;
    // "http://" or "https://", the host, ":<port>" and `path`.
    std::string url(std::string_view path, std::string_view host = "127.0.0.1") const;
    std::vector<RawRequest> requests() const;
    // Ends stalled connections too; returns once every connection thread has ended.
    void stop();

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace quill::testing
