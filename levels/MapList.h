#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The level header paths of a level list, in playing order.
class MapList {
public:
    int load(std::string path);

    std::size_t size() const { return entries.size(); }
    const std::string& operator[](std::size_t index) const { return entries[index]; }

private:
    std::vector<std::string> entries;
};
