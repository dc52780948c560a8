#pragma once
// The game's texts are Latin-1 bytes (é is 0xE9); SDL and X want UTF-8.

#include <string>

namespace platform {

// Every byte is one Latin-1 character; null gives an empty string.
std::string latin1ToUtf8(const char* text);

}  // namespace platform
