#include "platform/d3dx/xfile_tokens.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace platform::d3dx {
namespace {

constexpr std::size_t kHeaderBytes = 16;

// Token numbers of the binary format.
enum BinaryToken : std::uint16_t {
    kName = 1,
    kString = 2,
    kInteger = 3,
    kGuid = 5,
    kIntegerList = 6,
    kFloatList = 7,
    kOpenBrace = 10,
    kCloseBrace = 11,
    kFirstPunctuation = 12,  // ( ) [ ] < > .
    kLastPunctuation = 18,
    kComma = 19,
    kSemicolon = 20,
    kTemplate = 31,
    kFirstTypeKeyword = 40,  // WORD DWORD FLOAT ... ARRAY
    kLastTypeKeyword = 52,
};

// ASCII only, whatever the locale.
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isNameStart(unsigned char c) { return isLetter(c) || c == '_'; }
bool isNameChar(unsigned char c) { return isNameStart(c) || isDigit(c) || c == '-' || c == '.'; }
bool isNumberChar(unsigned char c) { return isDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'; }

XToken makeToken(XToken::Kind kind) {
    XToken token;
    token.kind = kind;
    return token;
}

}  // namespace

XTokenizer::XTokenizer(const unsigned char* data, std::size_t size) : data_(data), size_(size) {
    if (size < kHeaderBytes || std::memcmp(data, "xof 030", 7) != 0 || (data[7] != '2' && data[7] != '3')) {
        failed_ = true;
        return;
    }
    if (std::memcmp(data + 8, "txt ", 4) == 0) {
        binary_ = false;
    } else if (std::memcmp(data + 8, "bin ", 4) == 0) {
        binary_ = true;
    } else {
        failed_ = true;  // compressed files are not read
        return;
    }
    if (std::memcmp(data + 12, "0032", 4) == 0) {
        floatBytes_ = 4;
    } else if (std::memcmp(data + 12, "0064", 4) == 0) {
        floatBytes_ = 8;
    } else {
        failed_ = true;
        return;
    }
    position_ = kHeaderBytes;
}

XToken XTokenizer::next() {
    if (failed_) {
        return makeToken(XToken::Error);
    }
    return binary_ ? nextBinary() : nextText();
}

XToken XTokenizer::fail() {
    failed_ = true;
    return makeToken(XToken::Error);
}

XToken XTokenizer::nextText() {
    for (;;) {
        if (position_ >= size_) {
            return makeToken(XToken::End);
        }
        const unsigned char c = data_[position_];
        const bool comment = c == '#' || (c == '/' && position_ + 1 < size_ && data_[position_ + 1] == '/');
        if (comment) {
            while (position_ < size_ && data_[position_] != '\n') {
                ++position_;
            }
        } else if (isSpace(c) || c == ',' || c == ';') {
            ++position_;
        } else {
            break;
        }
    }

    const unsigned char c = data_[position_];
    if (c == '{' || c == '}') {
        ++position_;
        return makeToken(c == '{' ? XToken::OpenBrace : XToken::CloseBrace);
    }
    if (c == '"' || c == '<') {
        const unsigned char close = c == '"' ? '"' : '>';
        const std::size_t start = position_ + 1;
        const void* found = std::memchr(data_ + start, close, size_ - start);
        if (found == nullptr) {
            return fail();
        }
        const std::size_t end = static_cast<const unsigned char*>(found) - data_;
        position_ = end + 1;
        XToken token = makeToken(c == '"' ? XToken::String : XToken::Guid);
        token.text.assign(reinterpret_cast<const char*>(data_ + start), end - start);
        return token;
    }
    if (isNameStart(c)) {
        const std::size_t start = position_;
        while (position_ < size_ && isNameChar(data_[position_])) {
            ++position_;
        }
        XToken token = makeToken(XToken::Name);
        token.text.assign(reinterpret_cast<const char*>(data_ + start), position_ - start);
        if (token.text == "template") {
            token.kind = XToken::Template;
            token.text.clear();
        }
        return token;
    }
    const bool fractionStart = c == '.' && position_ + 1 < size_ && isDigit(data_[position_ + 1]);
    if (isDigit(c) || c == '-' || c == '+' || fractionStart) {
        return textNumber();
    }
    if (c == '[' || c == ']' || c == '(' || c == ')' || c == '.') {
        ++position_;
        return makeToken(XToken::Other);
    }
    return fail();
}

XToken XTokenizer::textNumber() {
    std::size_t start = position_;
    while (position_ < size_ && isNumberChar(data_[position_])) {
        ++position_;
    }
    const char* first = reinterpret_cast<const char*>(data_ + start);
    const char* last = reinterpret_cast<const char*>(data_ + position_);
    if (first != last && *first == '+') {
        ++first;  // from_chars takes no plus sign
    }
    const bool isFloat = std::find_if(first, last, [](char ch) { return ch == '.' || ch == 'e' || ch == 'E'; }) != last;
    XToken token;
    std::from_chars_result parsed{};
    if (isFloat) {
        token.kind = XToken::Float;
        parsed = std::from_chars(first, last, token.real);
    } else {
        token.kind = XToken::Integer;
        parsed = std::from_chars(first, last, token.integer);
        token.real = static_cast<float>(token.integer);
    }
    if (parsed.ec != std::errc() || parsed.ptr != last) {
        return fail();
    }
    return token;
}

bool XTokenizer::readBytes(std::size_t count, std::string* out) {
    if (size_ - position_ < count) {
        return false;
    }
    if (out != nullptr) {
        out->assign(reinterpret_cast<const char*>(data_ + position_), count);
    }
    position_ += count;
    return true;
}

bool XTokenizer::readWord(std::uint16_t& value) {
    if (size_ - position_ < 2) {
        return false;
    }
    value = static_cast<std::uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
    position_ += 2;
    return true;
}

bool XTokenizer::readDword(std::uint32_t& value) {
    if (size_ - position_ < 4) {
        return false;
    }
    value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | data_[position_ + i];
    }
    position_ += 4;
    return true;
}

XToken XTokenizer::listElement() {
    --listRemaining_;
    if (!listOfFloats_) {
        std::uint32_t value = 0;
        readDword(value);  // the list's length was checked against the data when it began
        XToken token = makeToken(XToken::Integer);
        token.integer = value;
        token.real = static_cast<float>(value);
        return token;
    }
    XToken token = makeToken(XToken::Float);
    if (floatBytes_ == 4) {
        std::memcpy(&token.real, data_ + position_, 4);
    } else {
        double value = 0.0;
        std::memcpy(&value, data_ + position_, 8);
        // Out of float range a conversion is undefined.
        if (!(std::fabs(value) <= std::numeric_limits<float>::max())) {
            return fail();
        }
        token.real = static_cast<float>(value);
    }
    position_ += floatBytes_;
    return token;
}

XToken XTokenizer::nextBinary() {
    for (;;) {
        if (listRemaining_ > 0) {
            return listElement();
        }
        if (position_ >= size_) {
            return makeToken(XToken::End);
        }
        std::uint16_t code = 0;
        if (!readWord(code)) {
            return fail();
        }
        switch (code) {
            case kName:
            case kString: {
                std::uint32_t length = 0;
                XToken token = makeToken(code == kName ? XToken::Name : XToken::String);
                if (!readDword(length) || !readBytes(length, &token.text)) {
                    return fail();
                }
                if (code == kString) {
                    std::uint16_t terminator = 0;
                    if (!readWord(terminator) || (terminator != kComma && terminator != kSemicolon)) {
                        return fail();
                    }
                }
                return token;
            }
            case kInteger: {
                std::uint32_t value = 0;
                if (!readDword(value)) {
                    return fail();
                }
                XToken token = makeToken(XToken::Integer);
                token.integer = value;
                token.real = static_cast<float>(value);
                return token;
            }
            case kGuid:
                if (!readBytes(16, nullptr)) {
                    return fail();
                }
                return makeToken(XToken::Guid);
            case kIntegerList:
            case kFloatList: {
                std::uint32_t count = 0;
                if (!readDword(count)) {
                    return fail();
                }
                listOfFloats_ = code == kFloatList;
                const std::size_t elementBytes = listOfFloats_ ? floatBytes_ : 4;
                if ((size_ - position_) / elementBytes < count) {
                    return fail();
                }
                listRemaining_ = count;
                continue;
            }
            case kOpenBrace:
                return makeToken(XToken::OpenBrace);
            case kCloseBrace:
                return makeToken(XToken::CloseBrace);
            case kComma:
            case kSemicolon:
                continue;
            case kTemplate:
                return makeToken(XToken::Template);
            default:
                if ((code >= kFirstPunctuation && code <= kLastPunctuation) ||
                    (code >= kFirstTypeKeyword && code <= kLastTypeKeyword)) {
                    return makeToken(XToken::Other);
                }
                return fail();
        }
    }
}

}  // namespace platform::d3dx
