#pragma once
// A small .x file in the text format and its twin in the binary format: one mesh (a quad and
// two triangles, normals that split three vertices, texture coordinates) with two materials,
// one inline with a texture, one by reference to a named top-level material.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

namespace d3dxtest {

inline const std::string kTextSample = R"(xof 0303txt 0032
// comments and templates are skipped
template Vector {
 <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}
Header { 1; 0; 1; }
Material Shared {
 0.0;0.5;1.0;0.25;;
 8.0;
 0.1;0.2;0.3;;
 0.4;0.5;0.6;;
}
Frame Root {
 FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
 Mesh Shape {
  5;
  0.0;0.0;0.0;,
  1.0;0.0;0.0;,
  1.0;1.0;0.0;,
  0.0;1.0;0.0;,
  0.5;0.5;1.0;;
  3;
  4;0,1,2,3;,
  3;0,1,4;,
  3;1,2,4;;
  MeshNormals {
   2;
   0.0;0.0;-1.0;,
   0.0;0.0;1.0;;
   3;
   4;0,0,0,0;,
   3;1,1,1;,
   3;1,1,1;;
  }
  MeshTextureCoords {
   5;
   0.0;1.0;, 1.0;1.0;, 1.0;0.0;, 0.0;0.0;, 0.5;0.5;;
  }
  VertexDuplicationIndices { 5; 5; 0,1,2,3,4;; }
  MeshMaterialList {
   2;
   3;
   1,0,1;;
   Material {
    1.0;0.0;0.0;1.0;;
    20.0;
    0.3;0.3;0.3;;
    0.0;0.0;0.0;;
    TextureFilename { "texture/red stone.png"; }
   }
   { Shared }
  }
 }
}
)";

// Writes the binary token format.
class BinaryX {
public:
    explicit BinaryX(const char* header = "xof 0303bin 0032") : bytes_(header) {}

    BinaryX& word(std::uint16_t value) {
        bytes_ += static_cast<char>(value & 0xFF);
        bytes_ += static_cast<char>(value >> 8);
        return *this;
    }
    BinaryX& dword(std::uint32_t value) {
        word(static_cast<std::uint16_t>(value & 0xFFFF));
        return word(static_cast<std::uint16_t>(value >> 16));
    }
    BinaryX& name(const std::string& text) {
        word(1).dword(static_cast<std::uint32_t>(text.size()));
        bytes_ += text;
        return *this;
    }
    BinaryX& string(const std::string& text) {
        word(2).dword(static_cast<std::uint32_t>(text.size()));
        bytes_ += text;
        return word(20);
    }
    BinaryX& guid() {
        word(5);
        bytes_.append(16, '\x42');
        return *this;
    }
    BinaryX& integers(std::initializer_list<std::uint32_t> values) {
        word(6).dword(static_cast<std::uint32_t>(values.size()));
        for (std::uint32_t value : values) dword(value);
        return *this;
    }
    BinaryX& floats(std::initializer_list<float> values) {
        word(7).dword(static_cast<std::uint32_t>(values.size()));
        for (float value : values) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &value, 4);
            dword(bits);
        }
        return *this;
    }
    BinaryX& open() { return word(10); }
    BinaryX& close() { return word(11); }
    BinaryX& semicolon() { return word(20); }

    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

inline std::string binarySample() {
    BinaryX x;
    // template Vector { <guid> FLOAT x; FLOAT y; FLOAT z; }
    x.word(31).name("Vector").open().guid();
    for (const char* member : {"x", "y", "z"}) x.word(42).name(member).semicolon();
    x.close();
    x.name("Header").open().integers({1, 0, 1}).close();
    x.name("Material").name("Shared").open().floats({0.0f, 0.5f, 1.0f, 0.25f, 8.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f});
    x.close();
    x.name("Frame").name("Root").open();
    x.name("FrameTransformMatrix").open().floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).close();
    x.name("Mesh").name("Shape").open().integers({5});
    x.floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5f, 0.5f, 1});
    x.integers({3, 4, 0, 1, 2, 3, 3, 0, 1, 4, 3, 1, 2, 4});
    x.name("MeshNormals").open().integers({2}).floats({0, 0, -1, 0, 0, 1});
    x.integers({3, 4, 0, 0, 0, 0, 3, 1, 1, 1, 3, 1, 1, 1}).close();
    x.name("MeshTextureCoords").open().integers({5}).floats({0, 1, 1, 1, 1, 0, 0, 0, 0.5f, 0.5f}).close();
    x.name("VertexDuplicationIndices").open().integers({5, 5, 0, 1, 2, 3, 4}).close();
    x.name("MeshMaterialList").open().integers({2, 3, 1, 0, 1});
    x.name("Material").open().floats({1, 0, 0, 1, 20, 0.3f, 0.3f, 0.3f, 0, 0, 0});
    x.name("TextureFilename").open().string("texture/red stone.png").close();
    x.close();
    x.open().name("Shared").close();
    x.close();  // MeshMaterialList
    x.close();  // Mesh
    x.close();  // Frame
    return x.bytes();
}

// `text` with the one occurrence of `from` replaced by `to`; empty if it is not there once.
inline std::string replacedOnce(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        return {};
    }
    return text.substr(0, at) + to + text.substr(at + from.size());
}

}  // namespace d3dxtest
