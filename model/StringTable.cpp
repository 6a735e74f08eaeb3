#include "StringTable.h"

#include <cstddef>
#include <map>
#include <string_view>

namespace revlane::resources {
extern const char kStringTableData[];
extern const std::size_t kStringTableSize;
}  // namespace revlane::resources

namespace revlane {

namespace {

std::map<int, std::string> ParseTable()
{
    std::map<int, std::string> table;
    const std::string_view data(resources::kStringTableData, resources::kStringTableSize);
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\n', start);
        if (end == std::string_view::npos)
            end = data.size();
        const std::string_view line = data.substr(start, end - start);
        start = end + 1;
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0)
            continue;
        int key = 0;
        bool number = true;
        for (char ch : line.substr(0, tab)) {
            if (ch < '0' || ch > '9') {
                number = false;
                break;
            }
            key = key * 10 + (ch - '0');
        }
        if (number)
            table[key] = std::string(line.substr(tab + 1));
    }
    return table;
}

}  // namespace

const std::string& LoadResString(int id)
{
    static const std::map<int, std::string> table = ParseTable();
    static const std::string empty;
    const auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}

}  // namespace revlane
