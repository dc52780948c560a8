#pragma once
// Shared by the D3DX tests: files in a scratch directory, and the mesh data a recording
// device was given.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/d3d9/recording_device.h"
#include "platform/d3dx/mesh_data.h"

namespace d3dxtest {

// A new directory under the system's temporary one, removed with its files at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-d3dx-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string path(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        return write(name, std::string(bytes.begin(), bytes.end()));
    }

private:
    std::filesystem::path path_;
};

inline std::vector<platform::d3dx::MeshVertex> verticesOf(const platform::RecordingVertexBuffer& buffer) {
    std::vector<platform::d3dx::MeshVertex> vertices(buffer.bytes().size() / sizeof(platform::d3dx::MeshVertex));
    std::memcpy(vertices.data(), buffer.bytes().data(), vertices.size() * sizeof(platform::d3dx::MeshVertex));
    return vertices;
}

inline std::vector<DWORD> indicesOf(const platform::RecordingIndexBuffer& buffer) {
    const std::size_t size = buffer.format == D3DFMT_INDEX32 ? 4 : 2;
    std::vector<DWORD> indices(buffer.bytes().size() / size);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (size == 4) {
            std::memcpy(&indices[i], &buffer.bytes()[i * 4], 4);
        } else {
            std::uint16_t index = 0;
            std::memcpy(&index, &buffer.bytes()[i * 2], 2);
            indices[i] = index;
        }
    }
    return indices;
}

// Every object the recording made is released (or was never handed out).
inline bool allReleased(const platform::Recording& rec) {
    for (const auto* buffer : rec.vertexBuffers()) {
        if (!buffer->released()) return false;
    }
    for (const auto* buffer : rec.indexBuffers()) {
        if (!buffer->released()) return false;
    }
    for (const auto* texture : rec.textures()) {
        if (!texture->released()) return false;
    }
    return true;
}

}  // namespace d3dxtest
