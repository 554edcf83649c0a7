#include "demo_book.h"

#include <algorithm>
#include <cstdio>

#include "core/codepage.h"
#include "core/text_rules.h"
#include "prose.h"

namespace quill::demo {
namespace {

constexpr int kMaxParts = 3;

// One seed per piece of text: slot 0 is the chapter's title, slots 1.. its parts.
std::uint64_t Seed(int chapter, int slot) {
    return static_cast<std::uint64_t>(chapter) * (kMaxParts + 1) + static_cast<std::uint64_t>(slot);
}

Text ChapterTitle(int chapter) {
    Prose prose(Seed(chapter, 0));
    return Gbk("第") + DecimalText(chapter + 1) + Gbk("章 ") + prose.Words(2, 5);
}

std::string FixedWidth(int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", number);
    return digits;
}

} // namespace

DemoBook::DemoBook(const BookOptions& options)
    : m_tocPageSize(std::max(1, options.tocPageSize)), m_title(Gbk("山海行记")),
      m_author(Gbk("云中客")) {
    m_chapterTitles.reserve(static_cast<std::size_t>(std::max(0, options.chapters)));
    for (int chapter = 0; chapter < options.chapters; ++chapter) {
        m_chapterTitles.push_back(ChapterTitle(chapter));
    }
}

int DemoBook::tocPageCount() const {
    return std::max(1, (chapterCount() + m_tocPageSize - 1) / m_tocPageSize);
}

int DemoBook::firstChapterOnPage(int page) const {
    return std::min(chapterCount(), (page - 1) * m_tocPageSize);
}

int DemoBook::endChapterOnPage(int page) const {
    return std::min(chapterCount(), page * m_tocPageSize);
}

int DemoBook::partCount(int chapter) const {
    const int number = chapter + 1;
    if (number % 5 == 0) {
        return kMaxParts;
    }
    return number % 2 == 0 ? 2 : 1;
}

TextArray DemoBook::partParagraphs(int chapter, int part) const {
    Prose prose(Seed(chapter, part + 1));
    TextArray paragraphs(static_cast<std::size_t>(3 + (chapter + part) % 4));
    for (Text& paragraph : paragraphs) {
        paragraph = prose.Paragraph();
    }
    return paragraphs;
}

Text DemoBook::partMarkup(int chapter, int part) const {
    return JoinTexts(partParagraphs(chapter, part), "<br><br>");
}

Text DemoBook::chapterText(int chapter) const {
    TextArray lines;
    for (int part = 0; part < partCount(chapter); ++part) {
        const TextArray paragraphs = partParagraphs(chapter, part);
        lines.insert(lines.end(), paragraphs.begin(), paragraphs.end());
    }
    return JoinTexts(lines, "\r\n");
}

std::string TocPagePath(int page) {
    return page <= 1 ? "/book/1/" : "/book/1/" + std::to_string(page) + "/";
}

std::string ChapterPath(int chapter, int part) {
    const std::string number = FixedWidth(chapter + 1);
    return part == 0 ? "/book/1/" + number + ".html"
                     : "/book/1/" + number + "_" + std::to_string(part + 1) + ".html";
}

} // namespace quill::demo
