#include "prose.h"

#include "core/codepage.h"

namespace quill::demo {
namespace {

// Common characters only: every one of them exists in code page 936 and none of them is
// punctuation, so a paragraph's Han count is plain to predict.
const Text& HanPool() {
    static const Text pool = Gbk("天地玄黄宇宙洪荒日月星辰山河湖海风雨雷电春夏秋冬东南西北"
                                 "江城小镇长街古道青石白云红叶绿水高楼深巷明灯远村少年老人"
                                 "书生剑客商人农夫走来回去看见听说想起忘记知道相信等待寻找"
                                 "一二三四五六七八九十百千万年时刻分早晚今明昨前后左右上中"
                                 "心中眼里手上脚下门外窗前桥边树下花开叶落云散月圆路远夜深"
                                 "他她我你们这那些个只又还都也就才已经正在终于忽然慢慢轻轻");
    return pool;
}

std::uint64_t Mix(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

} // namespace

Prose::Prose(std::uint64_t seed) : m_state(Mix(seed)) {}

int Prose::Between(int low, int high) {
    m_state = Mix(m_state);
    return low + static_cast<int>(m_state % static_cast<std::uint64_t>(high - low + 1));
}

Text Prose::Words(int minChars, int maxChars) {
    const Text& pool = HanPool();
    const int poolChars = static_cast<int>(pool.size() / 2);
    Text words;
    for (int i = Between(minChars, maxChars); i > 0; --i) {
        words += pool.substr(static_cast<std::size_t>(Between(0, poolChars - 1)) * 2, 2);
    }
    return words;
}

Text Prose::Paragraph() {
    static const Text indent = Gbk("　　");
    static const Text comma = Gbk("，");
    static const Text stop = Gbk("。");
    Text paragraph = indent;
    for (int sentence = Between(2, 4); sentence > 0; --sentence) {
        for (int clause = Between(1, 3); clause > 1; --clause) {
            paragraph += Words(4, 10) + comma;
        }
        paragraph += Words(4, 12) + stop;
    }
    return paragraph;
}

} // namespace quill::demo
