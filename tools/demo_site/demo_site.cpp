#include "demo_site.h"

#include <chrono>
#include <sys/socket.h>

#include "core/codepage.h"
#include "demo_pages.h"

namespace quill::demo {

DemoSite::DemoSite(const SiteOptions& options) : m_options(options), m_book(options.book) {
    indexPages();
    // A short keep-alive lets stop() return soon although clients keep their connections.
    m_server.set_keep_alive_timeout(1);
    m_server.set_tcp_nodelay(true);
    // Without SO_REUSEPORT, which the library sets by default, a second site on a busy port
    // fails to start instead of sharing the port with the first.
    m_server.set_socket_options([](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    m_server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        handle(request, response);
    });
}

DemoSite::~DemoSite() {
    stop();
}

void DemoSite::indexPages() {
    for (int page = 1; page <= m_book.tocPageCount(); ++page) {
        m_pages[TocPagePath(page)] = {-1, page};
    }
    for (int chapter = 0; chapter < m_book.chapterCount(); ++chapter) {
        for (int part = 0; part < m_book.partCount(chapter); ++part) {
            m_pages[ChapterPath(chapter, part)] = {chapter, part};
        }
    }
}

bool DemoSite::start(int port) {
    m_port = port == 0 ? m_server.bind_to_any_port("127.0.0.1")
                       : (m_server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (m_port < 0) {
        m_port = 0;
        return false;
    }
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // Bounded: listen_after_bind sets the flag at once unless it fails.
    for (int i = 0; i < 1000 && !m_server.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return m_server.is_running();
}

void DemoSite::wait() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void DemoSite::stop() {
    m_server.stop();
    wait();
}

std::string DemoSite::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<std::string> DemoSite::chapterAddresses() const {
    std::vector<std::string> addresses;
    addresses.reserve(static_cast<std::size_t>(m_book.chapterCount()));
    for (int chapter = 0; chapter < m_book.chapterCount(); ++chapter) {
        addresses.push_back(url(ChapterPath(chapter)));
    }
    return addresses;
}

void DemoSite::addPage(const std::string& path, const std::string& body) {
    std::lock_guard lock(m_mutex);
    m_extraPages[path] = body;
}

std::string DemoSite::charset() const {
    return m_options.encoding == Encoding::Utf8 ? "utf-8" : "gbk";
}

std::string DemoSite::render(const PageKey& key) const {
    const Text page = key.chapter < 0
                          ? RenderTocPage(m_book, key.index, charset())
                          : RenderChapterPage(m_book, key.chapter, key.index, charset());
    return m_options.encoding == Encoding::Utf8 ? ConvertGbkToUtf8(page) : page;
}

std::optional<std::string> DemoSite::body(const std::string& path) {
    {
        std::lock_guard lock(m_mutex);
        if (const auto extra = m_extraPages.find(path); extra != m_extraPages.end()) {
            return extra->second;
        }
        if (const auto cached = m_rendered.find(path); cached != m_rendered.end()) {
            return cached->second;
        }
    }
    const auto key = m_pages.find(path);
    if (key == m_pages.end()) {
        return std::nullopt;
    }
    // Rendered outside the lock: two first requests for one page at worst render it twice.
    std::string rendered = render(key->second);
    std::lock_guard lock(m_mutex);
    return m_rendered.emplace(path, std::move(rendered)).first->second;
}

void DemoSite::handle(const httplib::Request& request, httplib::Response& response) {
    if (m_options.delayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_options.delayMs));
    }
    const std::optional<std::string> page = body(request.path);
    if (!page) {
        response.status = 404;
        response.set_content("<html><body>404 Not Found</body></html>", "text/html");
        return;
    }
    response.set_content(*page, "text/html; charset=" + charset());
}

} // namespace quill::demo
