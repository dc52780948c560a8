// Recording::deleteReleased, which the fuzz targets call between inputs so that a long run
// does not keep every object it made.

#include <gtest/gtest.h>

#include "platform/d3d9/recording_device.h"

namespace {

TEST(RecordingDeleteReleased, DeletesOnlyReleasedObjectsAndForgetsTheLog) {
    platform::Recording& rec = platform::installRecordingDirect3D();
    const std::size_t before = rec.unreleasedCount();  // what earlier tests in this process left
    platform::RecordingDevice* device = platform::createRecordingDevice();
    IDirect3DVertexBuffer9* kept = nullptr;
    IDirect3DVertexBuffer9* dropped = nullptr;
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &kept, nullptr), S_OK);
    ASSERT_EQ(device->CreateVertexBuffer(32, 0, 0, D3DPOOL_MANAGED, &dropped, nullptr), S_OK);
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    EXPECT_EQ(rec.unreleasedCount(), before + 4);

    dropped->Release();
    texture->Release();
    EXPECT_EQ(rec.unreleasedCount(), before + 2);
    rec.deleteReleased();

    EXPECT_TRUE(rec.calls().empty());
    ASSERT_EQ(rec.vertexBuffers().size(), 1u);
    EXPECT_EQ(rec.vertexBuffers()[0], kept);
    EXPECT_TRUE(rec.textures().empty());
    ASSERT_EQ(rec.devices().size(), 1u);
    EXPECT_EQ(rec.unreleasedCount(), before + 2);

    // What stays is still usable and still recorded.
    void* bytes = nullptr;
    EXPECT_EQ(kept->Lock(0, 0, &bytes, 0), S_OK);
    EXPECT_EQ(kept->Unlock(), S_OK);
    EXPECT_EQ(rec.count("VertexBuffer.Lock"), 1u);

    kept->Release();
    device->Release();
    rec.deleteReleased();
    EXPECT_TRUE(rec.vertexBuffers().empty());
    EXPECT_TRUE(rec.devices().empty());
    EXPECT_EQ(rec.unreleasedCount(), before);
    EXPECT_TRUE(rec.misuses().empty());
}

}  // namespace
