#pragma once
// Turns the meshes of a .x file into one mesh: polygons fanned into triangles, each mesh's
// materials after the previous mesh's, attributes numbering the materials.

#include "platform/d3dx/mesh_data.h"
#include "platform/d3dx/xfile_scene.h"

namespace platform::d3dx {

struct BuiltMesh {
    MeshData data;
    XMaterialList materials;  // attribute i draws with materials[i]
    // The materials' records and names would be more than kMaxMaterialBytes: data and
    // materials are left empty, and the file is not to be loaded.
    bool materialsTooLarge = false;
};

// A mesh without a material list gets one opaque white material with no texture, so it
// still has a subset to draw. A position used with different normals becomes one vertex per
// normal; without MeshNormals the normals are zero, without MeshTextureCoords so are the
// texture coordinates. The material bytes are counted as the lists are joined, before any
// vertex is made.
BuiltMesh buildMesh(const std::vector<XMesh>& meshes);

}  // namespace platform::d3dx
