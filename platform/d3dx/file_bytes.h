#pragma once
// Whole-file reads for the loaders.

#include <cstddef>
#include <vector>

namespace platform::d3dx {

// Files the loaders accept at most; anything larger is not a game asset.
constexpr std::size_t kMaxFileBytes = 256u << 20;

// False when the file cannot be opened or read in full, or is larger than kMaxFileBytes.
bool readFileBytes(const char* path, std::vector<unsigned char>& bytes);

}  // namespace platform::d3dx
