#pragma once

#include <httplib.h>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "demo_book.h"

namespace quill::demo {

enum class Encoding { Gbk, Utf8 };

struct SiteOptions {
    BookOptions book;
    Encoding encoding = Encoding::Gbk;
    int delayMs = 0; // added before every response
};

// The demo novel site: the generated book at /book/1/ on 127.0.0.1, plus any fixture page a
// test adds. Pages are built once, on their first request.
class DemoSite final {
  public:
    explicit DemoSite(const SiteOptions& options);
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Binds 127.0.0.1:`port` (0 picks a free port) and serves on a thread of its own; false
    // when the port cannot be bound.
    bool start(int port = 0);
    // Blocks until stop() is called from another thread.
    void wait();
    void stop();

    int port() const { return m_port; }
    std::string url(const std::string& path) const;
    std::string tocAddress() const { return url(TocPagePath(1)); }
    std::vector<std::string> chapterAddresses() const;
    const DemoBook& book() const { return m_book; }

    // Serves `body` as it is at `path`, before any page of the book.
    void addPage(const std::string& path, const std::string& body);

  private:
    struct PageKey {
        int chapter; // -1 for a table-of-contents page
        int index;   // the table-of-contents page, or the chapter's part
    };

    void indexPages();
    std::optional<std::string> body(const std::string& path);
    std::string render(const PageKey& key) const;
    std::string charset() const;
    void handle(const httplib::Request& request, httplib::Response& response);

    SiteOptions m_options;
    DemoBook m_book;
    std::unordered_map<std::string, PageKey> m_pages;
    std::mutex m_mutex; // guards m_extraPages and m_rendered
    std::map<std::string, std::string> m_extraPages;
    std::unordered_map<std::string, std::string> m_rendered;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace quill::demo
