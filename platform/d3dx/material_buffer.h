#pragma once
// The material records D3DXLoadMeshFromXA hands back.

#include <cstddef>
#include <limits>

#include "platform/d3dx/xfile_scene.h"
#include "platform/d3dx9.h"

namespace platform::d3dx {

// The most material data (records and texture names) one load builds: a real mesh has a few
// materials with short names, and a file past this is a hostile one, not a model.
constexpr std::size_t kMaxMaterialBytes = std::size_t{64} << 20;
static_assert(kMaxMaterialBytes <= std::numeric_limits<DWORD>::max(), "a material buffer's size is a DWORD");

// A running total of material buffer bytes that never passes kMaxMaterialBytes. Each add
// checks against what is left before it adds, so no count, however large, can wrap it.
class MaterialBytes {
public:
    // `count` D3DXMATERIAL records; false, and the total unchanged, when they do not fit.
    bool addRecords(std::size_t count);
    // A texture name of `length` characters and its terminating null; likewise.
    bool addName(std::size_t length);
    // One material's record and its texture name, if it has one; likewise.
    bool addMaterial(const XMaterial& material);

    std::size_t total() const { return total_; }

private:
    std::size_t total_ = 0;
};

// One buffer: the D3DXMATERIAL records in order, then the texture file names they point to
// (null for a material without one). Diffuse is the face colour; Ambient stays black, as
// D3DX leaves it; Specular and Emissive take alpha 1. Null, with nothing allocated, when the
// records and names would be more than kMaxMaterialBytes.
ID3DXBuffer* createMaterialBuffer(const XMaterialList& materials);

}  // namespace platform::d3dx
