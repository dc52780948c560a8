#include "platform/d3dx/xfile_parser.h"

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <utility>

#include "platform/d3dx/xfile_tokens.h"

namespace platform::d3dx {
namespace {

// Deeper frames than this are taken for a hostile file rather than a model.
constexpr int kMaxFrameDepth = 64;

struct Malformed {};

class Parser {
public:
    Parser(const unsigned char* data, std::size_t size) : tokens_(data, size) {}

    std::vector<XMesh> file() {
        std::vector<XMesh> meshes;
        for (XToken token = next(); token.kind != XToken::End; token = next()) {
            if (token.kind == XToken::Template) {
                expect(XToken::Name);
                expect(XToken::OpenBrace);
                skipRest();
            } else if (token.kind == XToken::Name) {
                const std::string name = openObject();
                if (!sceneObject(token.text, name, meshes, 0)) {
                    skipRest();
                }
            } else {
                fail();
            }
        }
        if (meshes.empty()) {
            fail();
        }
        return meshes;
    }

private:
    [[noreturn]] static void fail() { throw Malformed{}; }

    XToken next() {
        if (hasPending_) {
            hasPending_ = false;
            return std::move(pending_);
        }
        XToken token = tokens_.next();
        if (token.kind == XToken::Error) {
            fail();
        }
        return token;
    }

    const XToken& peek() {
        if (!hasPending_) {
            pending_ = next();
            hasPending_ = true;
        }
        return pending_;
    }

    XToken expect(XToken::Kind kind) {
        XToken token = next();
        if (token.kind != kind) {
            fail();
        }
        return token;
    }

    DWORD count() {
        const XToken token = expect(XToken::Integer);
        if (token.integer < 0 || token.integer > std::numeric_limits<DWORD>::max()) {
            fail();
        }
        return static_cast<DWORD>(token.integer);
    }

    DWORD index(DWORD limit) {
        const DWORD value = count();
        if (value >= limit) {
            fail();
        }
        return value;
    }

    float number() {
        const XToken token = next();
        if ((token.kind != XToken::Integer && token.kind != XToken::Float) || !std::isfinite(token.real)) {
            fail();
        }
        return token.real;
    }

    template <std::size_t N>
    std::array<float, N> numbers() {
        std::array<float, N> values{};
        for (float& value : values) {
            value = number();
        }
        return values;
    }

    // The name the next token holds, if it is one; `after` gets the token that follows it.
    std::string optionalName(XToken& after) {
        after = next();
        if (after.kind != XToken::Name) {
            return {};
        }
        std::string name = std::move(after.text);
        after = next();
        return name;
    }

    // After a type name: the optional object name, the opening brace and an optional GUID.
    std::string openObject() {
        XToken token;
        std::string name = optionalName(token);
        if (token.kind != XToken::OpenBrace) {
            fail();
        }
        if (peek().kind == XToken::Guid) {
            next();
        }
        return name;
    }

    // Everything up to and including the brace that closes the open object.
    void skipRest() {
        for (int depth = 1; depth > 0;) {
            const XToken token = next();
            if (token.kind == XToken::OpenBrace) {
                ++depth;
            } else if (token.kind == XToken::CloseBrace) {
                --depth;
            } else if (token.kind == XToken::End) {
                fail();
            }
        }
    }

    // The child objects of an open object, through its closing brace. onObject(type, name) is
    // called with the child open and returns whether it read it; onReference(name) is called
    // for "{ name }" and likewise. What they do not read is skipped. Any bare data here means
    // the object held more than its counts said.
    template <class OnObject, class OnReference>
    void children(OnObject onObject, OnReference onReference) {
        for (;;) {
            XToken token = next();
            if (token.kind == XToken::CloseBrace) {
                return;
            }
            if (token.kind == XToken::Name) {
                const std::string name = openObject();
                if (!onObject(token.text, name)) {
                    skipRest();
                }
            } else if (token.kind == XToken::OpenBrace) {
                onReference(reference());
            } else {
                fail();
            }
        }
    }

    void noChildren() {
        children([](const std::string&, const std::string&) { return false; }, [](const std::string&) {});
    }

    // "{ name }", "{ name <guid> }" or "{ <guid> }", the brace already taken.
    std::string reference() {
        XToken token;
        std::string name = optionalName(token);
        if (token.kind == XToken::Guid) {
            token = next();
        }
        if (token.kind != XToken::CloseBrace) {
            fail();
        }
        return name;
    }

    // Objects allowed at the top and in frames.
    bool sceneObject(const std::string& type, const std::string& name, std::vector<XMesh>& meshes, int depth) {
        if (type == "Mesh") {
            meshes.push_back(mesh());
        } else if (type == "Frame") {
            frame(meshes, depth + 1);
        } else if (type == "Material") {
            namedMaterial(name);  // for references from material lists further on
        } else {
            return false;
        }
        return true;
    }

    void frame(std::vector<XMesh>& meshes, int depth) {
        if (depth > kMaxFrameDepth) {
            fail();
        }
        std::vector<XMesh> inner;
        bool hasMatrix = false;
        XMatrix matrix{};
        children(
            [&](const std::string& type, const std::string& name) {
                if (type == "FrameTransformMatrix") {
                    if (hasMatrix) {
                        fail();
                    }
                    hasMatrix = true;
                    matrix = numbers<16>();
                    noChildren();
                    return true;
                }
                return sceneObject(type, name, inner, depth);
            },
            [](const std::string&) {});
        for (XMesh& mesh : inner) {
            if (hasMatrix) {
                transformMesh(mesh, matrix);
            }
            meshes.push_back(std::move(mesh));
        }
    }

    XMesh mesh() {
        XMesh mesh;
        const DWORD vertexCount = count();
        for (DWORD i = 0; i < vertexCount; ++i) {
            mesh.positions.push_back(numbers<3>());
        }
        const DWORD faceCount = count();
        for (DWORD face = 0; face < faceCount; ++face) {
            const DWORD corners = count();
            if (corners < 3) {
                fail();
            }
            mesh.faceSizes.push_back(corners);
            for (DWORD corner = 0; corner < corners; ++corner) {
                mesh.faceIndices.push_back(index(vertexCount));
            }
        }
        children(
            [&](const std::string& type, const std::string&) {
                if (type == "MeshNormals") {
                    meshNormals(mesh);
                } else if (type == "MeshTextureCoords") {
                    meshTextureCoords(mesh);
                } else if (type == "MeshMaterialList") {
                    meshMaterialList(mesh);
                } else {
                    return false;
                }
                return true;
            },
            [](const std::string&) {});
        return mesh;
    }

    void meshNormals(XMesh& mesh) {
        if (mesh.hasNormals) {
            fail();
        }
        mesh.hasNormals = true;
        const DWORD normalCount = count();
        for (DWORD i = 0; i < normalCount; ++i) {
            mesh.normals.push_back(numbers<3>());
        }
        if (count() != mesh.faceSizes.size()) {
            fail();
        }
        for (DWORD corners : mesh.faceSizes) {
            if (count() != corners) {
                fail();
            }
            for (DWORD corner = 0; corner < corners; ++corner) {
                mesh.normalIndices.push_back(index(normalCount));
            }
        }
        noChildren();
    }

    void meshTextureCoords(XMesh& mesh) {
        if (mesh.hasTexCoords || count() != mesh.positions.size()) {
            fail();
        }
        mesh.hasTexCoords = true;
        for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
            mesh.texCoords.push_back(numbers<2>());
        }
        noChildren();
    }

    // Fewer face indices than faces: the rest take the last one (none at all: material 0).
    void meshMaterialList(XMesh& mesh) {
        if (mesh.hasMaterialList) {
            fail();
        }
        mesh.hasMaterialList = true;
        const DWORD materialCount = count();
        const DWORD indexCount = count();
        if (indexCount > mesh.faceSizes.size()) {
            fail();
        }
        for (DWORD i = 0; i < indexCount; ++i) {
            mesh.faceMaterials.push_back(index(materialCount));
        }
        if (!mesh.faceSizes.empty() && materialCount == 0) {
            fail();
        }
        mesh.faceMaterials.resize(mesh.faceSizes.size(), mesh.faceMaterials.empty() ? 0 : mesh.faceMaterials.back());

        children(
            [&](const std::string& type, const std::string& name) {
                if (type != "Material") {
                    return false;
                }
                mesh.materials.push_back(namedMaterial(name));
                return true;
            },
            [&](const std::string& name) {
                const auto found = materials_.find(name);
                if (found == materials_.end()) {
                    fail();
                }
                mesh.materials.push_back(found->second);  // shared, not copied
            });
        if (mesh.materials.size() != materialCount) {
            fail();
        }
    }

    // A material, remembered under its name (if any) for later references.
    std::shared_ptr<const XMaterial> namedMaterial(const std::string& name) {
        auto made = std::make_shared<XMaterial>();
        XMaterial& material = *made;
        material.faceColor = numbers<4>();
        material.power = number();
        material.specular = numbers<3>();
        material.emissive = numbers<3>();
        children(
            [&](const std::string& type, const std::string&) {
                if (type != "TextureFilename" && type != "TextureFileName") {
                    return false;
                }
                if (material.hasTexture) {
                    fail();
                }
                material.hasTexture = true;
                material.textureFile = expect(XToken::String).text;
                noChildren();
                return true;
            },
            [](const std::string&) {});
        if (!name.empty()) {
            materials_[name] = made;
        }
        return made;
    }

    XTokenizer tokens_;
    XToken pending_;
    bool hasPending_ = false;
    std::map<std::string, std::shared_ptr<const XMaterial>> materials_;
};

}  // namespace

std::optional<std::vector<XMesh>> parseXFile(const unsigned char* data, std::size_t size) {
    try {
        return Parser(data, size).file();
    } catch (const Malformed&) {
        return std::nullopt;
    }
}

}  // namespace platform::d3dx
