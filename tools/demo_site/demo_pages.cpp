#include "demo_pages.h"

#include <algorithm>

#include "core/codepage.h"

namespace quill::demo {
namespace {

constexpr int kLatestChapters = 6;

Text Link(const std::string& path, const Text& caption) {
    return "<a href=\"" + path + "\">" + caption + "</a>";
}

Text Head(const Text& title, const std::string& charset) {
    return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
           charset + "\">\r\n<title>" + title + "</title>\r\n</head>\r\n<body>\r\n";
}

Text Tail() {
    return "</body>\r\n</html>\r\n";
}

// Site links whose addresses are much shorter than a chapter's, as on most sites.
Text SiteNavigation() {
    return "<div class=\"nav\">" + Link("/", Gbk("首页")) + " " +
           Link("/sort/1/", Gbk("玄幻小说")) + " " + Link("/top/", Gbk("排行榜")) + " " +
           Link("/full/", Gbk("完本小说")) + "</div>\r\n";
}

Text SiteFooter() {
    return "<div class=\"foot\">" + Link("/about/", Gbk("关于本站")) + " " +
           Link("/bookcase/", Gbk("我的书架")) + "</div>\r\n";
}

Text ChapterItem(const DemoBook& book, int chapter, const Text& open, const Text& close) {
    return "<li>" + Link(ChapterPath(chapter), open + book.chapterTitles()[chapter] + close) +
           "</li>\r\n";
}

Text LatestChapters(const DemoBook& book) {
    Text block = "<div class=\"latest\"><h2>" + Gbk("最新章节") + "</h2>\r\n<ul>\r\n";
    const int first = std::max(0, book.chapterCount() - kLatestChapters);
    for (int chapter = book.chapterCount() - 1; chapter >= first; --chapter) {
        block += ChapterItem(book, chapter, "", "");
    }
    return block + "</ul></div>\r\n";
}

// Titles alternate between a bare caption and one wrapped in a span, as sites mix both.
Text ChapterList(const DemoBook& book, int page) {
    Text block = "<div class=\"list\"><h2>" + Gbk("章节目录") + "</h2>\r\n<ul>\r\n";
    for (int chapter = book.firstChapterOnPage(page); chapter < book.endChapterOnPage(page);
         ++chapter) {
        block += chapter % 2 == 0 ? ChapterItem(book, chapter, "<span class=\"title\">", "</span>")
                                  : ChapterItem(book, chapter, "<span>", "</span>");
    }
    return block + "</ul></div>\r\n";
}

Text PageLinks(const DemoBook& book, int page) {
    const int last = book.tocPageCount();
    Text links = "<div class=\"pages\">";
    if (page > 1) {
        links += Link(TocPagePath(1), Gbk("首页")) + " " +
                 Link(TocPagePath(page - 1), Gbk("上一页")) + " ";
    }
    if (page < last) {
        links +=
            Link(TocPagePath(page + 1), Gbk("下一页")) + " " + Link(TocPagePath(last), Gbk("尾页"));
    }
    return links + "</div>\r\n";
}

Text ChapterBar(const DemoBook& book, int chapter, int part) {
    Text bar = "<div class=\"bar\">";
    if (chapter > 0) {
        bar += Link(ChapterPath(chapter - 1), Gbk("上一章")) + " ";
    }
    bar += Link(TocPagePath(1), Gbk("目录"));
    if (part + 1 < book.partCount(chapter)) {
        bar += " " + Link(ChapterPath(chapter, part + 1), Gbk("下一页"));
    } else if (chapter + 1 < book.chapterCount()) {
        bar += " " + Link(ChapterPath(chapter + 1), Gbk("下一章"));
    }
    return bar + "</div>\r\n";
}

} // namespace

Text RenderTocPage(const DemoBook& book, int page, const std::string& charset) {
    const Text& title = book.title();
    Text html = Head(title + Gbk("最新章节_") + title + Gbk("无弹窗_演示小说站"), charset);
    if (page == 1) {
        html += SiteNavigation();
    }
    html += "<div class=\"info\"><h1>" + title + "</h1><p>" + Gbk("作者：") + book.author() +
            "</p></div>\r\n";
    if (page == 1) {
        html += LatestChapters(book);
    }
    html += ChapterList(book, page);
    html += PageLinks(book, page);
    if (page > 1) {
        html += SiteNavigation();
    }
    html += SiteFooter();
    return html + Tail();
}

Text RenderChapterPage(const DemoBook& book, int chapter, int part, const std::string& charset) {
    const Text& chapterTitle = book.chapterTitles()[chapter];
    Text html = Head(chapterTitle + "_" + book.title() + Gbk("_演示小说站"), charset);
    html += SiteNavigation();
    html += "<h1>" + chapterTitle + "</h1>\r\n";
    html += ChapterBar(book, chapter, part);
    html += "<div class=\"ad\">" + Gbk("本站新开张，收藏本站，更新更快。") + "</div>\r\n";
    html += "<div id=\"content\">" + book.partMarkup(chapter, part) + "</div>\r\n";
    html += ChapterBar(book, chapter, part);
    html += "<span class=\"copyright\">" + Gbk("演示小说站 仅供测试") + "</span>\r\n";
    return html + Tail();
}

} // namespace quill::demo
