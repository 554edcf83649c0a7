#pragma once

#include <string>

#include "core/text.h"

namespace quill::demo {

struct BookOptions {
    int chapters = 120;
    int tocPageSize = 50; // chapter links per table-of-contents page
};

// A generated book: its titles, its layout over addresses and the text of every chapter.
// Everything is derived from the chapter number, so nothing but the titles is kept.
class DemoBook final {
  public:
    explicit DemoBook(const BookOptions& options);

    const Text& title() const { return m_title; }
    const Text& author() const { return m_author; }
    int chapterCount() const { return static_cast<int>(m_chapterTitles.size()); }
    const TextArray& chapterTitles() const { return m_chapterTitles; }
    int tocPageCount() const;
    // 0-based chapter indexes listed on 1-based table-of-contents page `page`: [first, end).
    int firstChapterOnPage(int page) const;
    int endChapterOnPage(int page) const;

    // A chapter is split over this many pages ("下一页" between them).
    int partCount(int chapter) const;
    // Markup of one part: paragraphs of Han text separated by "<br><br>".
    Text partMarkup(int chapter, int part) const;
    // What the system's extraction makes of the whole chapter: every paragraph of every part,
    // one per line, lines separated by CR LF.
    Text chapterText(int chapter) const;

  private:
    TextArray partParagraphs(int chapter, int part) const;

    int m_tocPageSize;
    Text m_title;
    Text m_author;
    TextArray m_chapterTitles;
};

// Addresses within the site. Chapter numbers are of one width so that every chapter address
// has the same length; continuation pages carry "_<part>" and so never occur inside the
// address of another chapter.
std::string TocPagePath(int page);
std::string ChapterPath(int chapter, int part = 0);

} // namespace quill::demo
