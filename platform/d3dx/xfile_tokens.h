#pragma once
// The tokens of a DirectX .x file, text or binary, as one stream. The separators ',' and ';'
// carry nothing the loader needs and never come out; binary integer and float lists come out
// one number at a time.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::d3dx {

struct XToken {
    enum Kind {
        Name,        // identifier (also a template's member types, which the loader skips)
        String,      // quoted string, its bytes verbatim
        Integer,     // whole number
        Float,       // number with a fraction or exponent
        Guid,        // <...>
        OpenBrace,
        CloseBrace,
        Template,    // the keyword that opens a template declaration
        Other,       // punctuation that only templates use: [ ] ( ) . and binary type keywords
        End,         // no more input
        Error,       // malformed input; the stream stays here
    };
    Kind kind = End;
    std::string text;       // Name and String
    std::int64_t integer = 0;
    float real = 0.0f;      // Float, and Integer converted
};

class XTokenizer {
public:
    // Reads the 16-byte header: "xof ", version 0302 or 0303, "txt " or "bin ", float size
    // 0032 or 0064. A bad header leaves the tokenizer returning Error.
    XTokenizer(const unsigned char* data, std::size_t size);

    XToken next();

private:
    XToken nextText();
    XToken nextBinary();
    XToken textNumber();
    XToken listElement();
    XToken fail();

    bool readWord(std::uint16_t& value);
    bool readDword(std::uint32_t& value);
    bool readBytes(std::size_t count, std::string* out);

    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
    bool failed_ = false;
    bool binary_ = false;
    std::size_t floatBytes_ = 4;
    // What is left of a binary integer or float list.
    std::uint32_t listRemaining_ = 0;
    bool listOfFloats_ = false;
};

}  // namespace platform::d3dx
