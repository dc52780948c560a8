#include "platform/d3dx/file_bytes.h"

#include <cstdio>
#include <memory>
#include <utility>

namespace platform::d3dx {

bool readFileBytes(const char* path, std::vector<unsigned char>& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file) {
        return false;
    }
    std::vector<unsigned char> content;
    unsigned char chunk[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (content.size() + got > kMaxFileBytes) {
            return false;
        }
        content.insert(content.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            break;
        }
    }
    // A directory opens but does not read.
    if (std::ferror(file.get())) {
        return false;
    }
    bytes = std::move(content);
    return true;
}

}  // namespace platform::d3dx
