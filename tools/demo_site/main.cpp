// Serves a generated novel on 127.0.0.1 for trying the program by hand, for end-to-end tests
// and for benchmarks.

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "demo_site.h"

namespace {

using quill::demo::Encoding;
using quill::demo::SiteOptions;

constexpr int kDefaultPort = 8808;
constexpr int kMinChapters = 3;      // fewer leave navigation links in the middle
constexpr int kMaxChapters = 999999; // chapter numbers are six digits wide

const char kUsage[] = "usage: demo_site [--port N] [--chapters N] [--encoding gbk|utf8]\n"
                      "                 [--delay-ms N] [--toc-page-size N]\n";

struct Options {
    SiteOptions site;
    int port = kDefaultPort;
};

std::optional<int> WholeNumber(const char* text, int low, int high) {
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    if (error != std::errc() || rest != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<Encoding> EncodingNamed(const std::string& name) {
    if (name == "gbk") {
        return Encoding::Gbk;
    }
    if (name == "utf8" || name == "utf-8") {
        return Encoding::Utf8;
    }
    return std::nullopt;
}

// Applies one option with its value; false when either is not understood.
bool ApplyOption(Options& options, const std::string& name, const char* value) {
    if (name == "--encoding") {
        const auto encoding = EncodingNamed(value);
        options.site.encoding = encoding.value_or(Encoding::Gbk);
        return encoding.has_value();
    }
    struct Numeric {
        const char* name;
        int* target;
        int low;
        int high;
    };
    const Numeric numerics[] = {
        {"--port", &options.port, 1, 65535},
        {"--chapters", &options.site.book.chapters, kMinChapters, kMaxChapters},
        {"--delay-ms", &options.site.delayMs, 0, 600000},
        {"--toc-page-size", &options.site.book.tocPageSize, 1, kMaxChapters},
    };
    for (const Numeric& numeric : numerics) {
        if (name == numeric.name) {
            const auto number = WholeNumber(value, numeric.low, numeric.high);
            *numeric.target = number.value_or(0);
            return number.has_value();
        }
    }
    return false;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || !ApplyOption(options, argv[i], argv[i + 1])) {
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    quill::demo::DemoSite site(options->site);
    if (!site.start(options->port)) {
        std::fprintf(stderr, "demo_site: cannot listen on 127.0.0.1:%d\n", options->port);
        return 1;
    }
    std::printf("demo_site: %d chapters at %s\n", site.book().chapterCount(),
                site.tocAddress().c_str());
    std::fflush(stdout);
    site.wait();
    return 0;
}
