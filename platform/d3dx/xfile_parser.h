#pragma once
// A strict reader of DirectX .x files (text and binary): Mesh with MeshNormals,
// MeshTextureCoords and MeshMaterialList, Material with TextureFilename (inline or by reference
// to a named Material), Frame with FrameTransformMatrix (applied). Templates and other data
// objects are skipped.

#include <cstddef>
#include <optional>

#include "platform/d3dx/xfile_scene.h"

namespace platform::d3dx {

// Every mesh of the file, or nothing when the file is malformed: bad header, a count that
// does not match its data, an index out of range, a polygon of fewer than three corners, a
// reference to no known material, truncation, or no mesh at all.
std::optional<std::vector<XMesh>> parseXFile(const unsigned char* data, std::size_t size);

}  // namespace platform::d3dx
