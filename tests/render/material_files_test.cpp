// A material's files, its engine's green and the grey maps' bits, as the
// command line works them out before any render.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "render/material_engine.h"
#include "render/options.h"

namespace {

// The options of "quiltor-render a.recipe ARGS", finished; false with
// `problem` set on bad usage.
bool finished(std::vector<std::string> args, CommandOptions* options, std::string* problem)
{
    args.insert(args.begin(), { "quiltor-render", "a.recipe" });
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    return readArguments((int)argv.size(), argv.data(), options, problem)
        && finishOptions(options, problem);
}

TEST(MaterialFiles, AMaterialWritesEveryMapBesideOutAndItsHeightsLast)
{
    CommandOptions options;
    std::string problem;
    ASSERT_TRUE(finished({ "--material", "--depth", "16", "-o", "out/m.bmp" }, &options, &problem))
        << problem;
    const std::vector<MaterialFile>& files = options.render.materialFiles;
    ASSERT_EQ(files.size(), 5u);
    const MaterialMap maps[5]
        = { MAP_NORMAL, MAP_ROUGHNESS, MAP_METALLIC, MAP_OCCLUSION, MAP_HEIGHTS };
    const char* names[5] = { "out/m-normal.bmp", "out/m-roughness.bmp", "out/m-metallic.bmp",
        "out/m-ao.bmp", "out/m-height.png" };
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(files[i].map, maps[i]);
        EXPECT_EQ(files[i].name, names[i]);
    }
    // --depth sets the colours' default bits, never the grey maps'.
    EXPECT_EQ(options.render.bits, 8); // a BMP
    EXPECT_EQ(options.render.mapBits, 8);
}

TEST(MaterialFiles, EachEngineTakesItsPackedTextureAndItsGreenUnlessNormalYIsGiven)
{
    for (const MaterialEngineRow& engine : MATERIAL_ENGINES) {
        if (!engine.name)
            continue;
        SCOPED_TRACE(engine.name);
        for (const char* normalY : { "", "up", "down" }) {
            std::vector<std::string> args = { "--material", "--for", engine.name, "-o", "m.png" };
            if (*normalY)
                args.insert(args.end(), { "--normal-y", normalY });
            CommandOptions options;
            std::string problem;
            ASSERT_TRUE(finished(args, &options, &problem)) << problem;
            const std::vector<MaterialFile>& files = options.render.materialFiles;
            // A gltf material comes with the scene that shows it.
            const bool scene = engine.engine == ENGINE_GLTF;
            ASSERT_EQ(files.size(), scene ? 3u : 2u);
            EXPECT_EQ(files[0].name, "m-normal.png");
            EXPECT_EQ(files[1].map, MAP_PACKED);
            EXPECT_EQ(files[1].name, std::string("m") + engine.packedMark + ".png");
            if (scene) {
                EXPECT_EQ(files[2].map, MAP_SCENE);
                EXPECT_EQ(files[2].name, "m.gltf");
                EXPECT_NE(files[2].text.find("\"uri\": \"m-orm.png\""), std::string::npos)
                    << files[2].text;
            }
            const bool up = *normalY ? std::string(normalY) == "up" : engine.greenUp;
            EXPECT_EQ(options.render.normals.greenUp, up);
        }
        CommandOptions options;
        std::string problem;
        EXPECT_EQ(finished({ "--material", "--for", engine.name, "--bits", "16", "-o", "m.png" },
                      &options, &problem),
            engine.takes16BitPacked)
            << problem;
    }
    EXPECT_FALSE(materialEngineRow(ENGINE_UNREAL).greenUp);
    EXPECT_EQ(materialEngineRow(ENGINE_UNITY).layout, PACKED_MASK);
}

TEST(MaterialFiles, AGreyMapIsEightBitsUnlessAskedAndNoMaterialListsFiles)
{
    for (const char* kind : { "--roughness", "--metallic", "--occlusion" }) {
        SCOPED_TRACE(kind);
        CommandOptions options;
        std::string problem;
        ASSERT_TRUE(finished({ kind, "--depth", "16", "-o", "g.png" }, &options, &problem));
        EXPECT_EQ(options.render.bits, 8);
        EXPECT_TRUE(options.render.materialFiles.empty());
        CommandOptions deep;
        ASSERT_TRUE(finished({ kind, "--bits", "16", "-o", "g.png" }, &deep, &problem));
        EXPECT_EQ(deep.render.bits, 16);
    }
}

} // namespace
