// chunk_texture_gl_test.cpp: streamed chunks carry their baked ground picture
// as a GPU texture, byte for byte; unloading releases it; a failed upload
// leaves id 0 behind a warning and the chunk still counts as built.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>
#include "support/gl_fixture.h"
#include "support/image_guards.h"
#include "world/chunk_content.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;

double NoClock() {
    return 0.0;
}

std::vector<std::pair<int, std::string>>& Logged() {
    static std::vector<std::pair<int, std::string>> lines;
    return lines;
}

void Collect(int level, const char* format, va_list args) {
    char text[512];
    vsnprintf(text, sizeof text, format, args);
    Logged().emplace_back(level, text);
}

}  // namespace

TEST(ChunkTextureGl, StreamedChunkHoldsItsBakedPicture) {
    World world(kSeed);
    world.Update(Vector3{-32.0f, 0.0f, 96.0f}, 1, 0.0f);
    ASSERT_EQ(world.chunks.size(), 1u);
    Chunk& chunk = world.chunks.at(World::Key(-1, 1));
    EXPECT_TRUE(chunk.built);
    ASSERT_NE(chunk.mapTexture.id, 0u);
    EXPECT_EQ(chunk.mapTexture.width, 264);
    EXPECT_EQ(chunk.mapTexture.height, 264);
    EXPECT_EQ(chunk.mapTexture.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);

    // The texture holds exactly what the CPU bake of the same chunk gives.
    chunkgen::ChunkContent content = chunkgen::GenerateChunkContent(world.gen, world.removedIds, -1, 1, NoClock);
    const testsupport::ImageGuard contentImageGuard(content.image);
    Image uploaded = LoadImageFromTexture(chunk.mapTexture);
    const testsupport::ImageGuard uploadedGuard(uploaded);
    ASSERT_EQ(uploaded.width, 264);
    ImageFormat(&uploaded, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    int differing = 0;
    for (int y = 0; y < 264; y++) {
        for (int x = 0; x < 264; x++) {
            differing += testgl::SameColour(testgl::PixelAt(uploaded, x, y), testgl::PixelAt(content.image, x, y)) ? 0
                                                                                                                   : 1;
        }
    }
    EXPECT_EQ(differing, 0);
    testgl::SavePng(uploaded, "chunk_texture_-1_1");

    world.UnloadChunk(chunk);
    EXPECT_EQ(chunk.mapTexture.id, 0u);
    EXPECT_FALSE(chunk.built);
}

TEST(ChunkTextureGl, EvictionDropsFarChunks) {
    World world(kSeed);
    world.SetRenderDistance(4);
    world.Update(Vector3{32.0f, 0.0f, 32.0f}, 1, 0.0f);
    ASSERT_EQ(world.chunks.size(), 1u);
    EXPECT_NE(world.chunks.begin()->second.mapTexture.id, 0u);
    // Six chunks away is beyond the keep range of 5.
    world.Update(Vector3{32.0f + 6.0f * 64.0f, 0.0f, 32.0f}, 0, 0.0f);
    EXPECT_TRUE(world.chunks.empty());
}

TEST(ChunkTextureGl, FailedUploadWarnsAndLeavesNoTexture) {
    Logged().clear();
    SetTraceLogCallback(Collect);
    Chunk chunk{};
    chunk.cx = 7;
    chunk.cz = -3;
    Image nothing{};
    const bool uploaded = chunkgen::UploadChunkTexture(chunk, nothing);
    SetTraceLogCallback(nullptr);

    EXPECT_FALSE(uploaded);
    EXPECT_EQ(chunk.mapTexture.id, 0u);
    bool warned = false;
    for (const auto& line : Logged()) {
        warned = warned || (line.first == LOG_WARNING && line.second == "WORLD: chunk 7,-3 map texture failed");
    }
    EXPECT_TRUE(warned);

    // Releasing a built chunk without a texture is harmless.
    chunk.built = true;
    World world(kSeed);
    world.UnloadChunk(chunk);
    EXPECT_FALSE(chunk.built);
}
