#pragma once
// What the fuzz targets share: the loaders take file names, so each input is written to a file
// in a scratch working directory that the process makes once and removes when it exits.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fuzz {

inline std::string& scratchPath() {
    static std::string path;
    return path;
}

// A fresh directory under $TMPDIR (or /tmp), holding an empty log/, becomes the working directory.
inline void enterScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratchPath() = pattern;
    std::filesystem::current_path(pattern);
    std::filesystem::create_directory("log");
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(scratchPath(), ignored);
    });
}

// The whole file is these bytes; a write that fails stops the run, as it is no finding.
inline void writeFile(const char* path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path);
        std::abort();
    }
}

}  // namespace fuzz
