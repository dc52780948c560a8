#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The level header paths of a level list, in playing order.
class MapList {
public:
    int load(std::string path);

    std::size_t size() const { return entries.size(); }
    // Past the end: the empty string, a path that opens nothing.
    const std::string& operator[](std::size_t index) const;

private:
    std::vector<std::string> entries;
};
