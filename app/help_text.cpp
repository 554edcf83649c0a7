#include "help_text.h"

#include <cstddef>

#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {
namespace {

// Line 10 ends in a space on purpose.
const char* const kHelpLines[] = {
    "使用说明:双击编辑框清空。",
    "请在上面编辑框输入目录页地址（无翻页是全章节的目录页地址，有翻页需输入首目录页地址）然后点击目"
    "录解析，解析成功可在左边列表显示解析到的所有章节名。双击任意章节名可在右边的编辑框显示对应章节"
    "内容。右键单击章节名可以复制该章节对应链接。可以选择下载或者在右边点上一章和下一章查看阅读。",
    "点击下载前，可以单击列表里ID的检查框来选择下载范围，因为可能需要手动排除一些非章节的内容不下载"
    "。列表下面的全选按钮是将所有检查框都选中。反选是将已选中的变成未选中，未选中的变成选中。如果发"
    "现章节顺序反了可以点击倒序按钮。",
    "建议下载前，先通过双击章名查看内容是否正常，如果右边编辑框无内容或显示的不是正常章节内容可以勾"
    "选预处理，如果显示内容乱码可以勾选转码。",
    "如果右边章节内容出现较多不需要的内容可以启用正则过滤内容，",
    "需要自写正则表达式，每行写一个，程序会把匹配的内容删掉。",
    "正则表达式具体写法请百度查详细教程，下面给几个常用的，特意增加了2个快捷插入按钮。",
    "匹配一行内一般用.*?  .表示匹配任意字符（不包括换行符），",
    "*表示匹配前一个字符零次或多次，?表示匹配或不匹配，+表示匹配前一个字符一次或多次",
    "匹配多行用[\\S\\s]*? []表示里面任意选择一个 ",
    "\\S表示任意非空字符",
    "\\s表示任意空字符，比如空格、制表符和换行符等",
    "\\d表示数字[0-9]中任意一个数字",
    "-表示范围",
    "\\w表示[0-9A-Za-z_]",
    "一般情况只需要改写成",
    "单行:起始字符串.*?终止字符串",
    "多行:起始字符串[\\S\\s]*?终止字符串",
    "起始和终止字符串可以有一个不存在，存在尽量选唯一出现的，以免把不该替换的删掉。",
};

const char* const kPlaceholderLines[] = {"过滤规则1", "过滤规则2", "过滤规则3"};

template <std::size_t N> Text GbkLines(const char* const (&lines)[N]) {
    TextArray texts;
    for (const char* line : lines) {
        texts.push_back(Gbk(line));
    }
    return JoinTexts(texts, "\r\n");
}

} // namespace

Text HelpText() {
    return GbkLines(kHelpLines);
}

Text PlaceholderRules() {
    return GbkLines(kPlaceholderLines);
}

} // namespace quill
