#include "platform/win32/latin1.h"

std::string platform::latin1ToUtf8(const char* text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p < 0x80) {
            out += static_cast<char>(*p);
        } else {
            // Latin-1 is the first 256 code points, so two bytes always suffice.
            out += static_cast<char>(0xC0 | (*p >> 6));
            out += static_cast<char>(0x80 | (*p & 0x3F));
        }
    }
    return out;
}
