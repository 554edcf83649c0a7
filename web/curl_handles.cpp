#include "curl_handles.h"

namespace quill::curl {

bool AppendLines(Slist& list, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (grown == nullptr) {
            return false;
        }
        // Once the list exists curl_slist_append hands back the same head.
        list.release();
        list.reset(grown);
    }
    return true;
}

std::vector<std::string> LinesOf(const curl_slist* list) {
    std::vector<std::string> lines;
    for (const curl_slist* item = list; item != nullptr; item = item->next) {
        lines.emplace_back(item->data);
    }
    return lines;
}

} // namespace quill::curl
