#include "render/gltf_file.h"

#include <gtest/gtest.h>

TEST(GltfFileTest, FileNamesBecomeUriReferences)
{
    EXPECT_EQ(uriOfFileName("brick wall.png"), "brick%20wall.png");
    // What would end the path or start a query or fragment, and the escape itself.
    EXPECT_EQ(uriOfFileName("50% #2?.png"), "50%25%20%232%3F.png");
    // A leading colon would make the name before it a scheme.
    EXPECT_EQ(uriOfFileName(":rust.png"), "%3Arust.png");
    // Each UTF-8 byte of ä and 木 on its own.
    EXPECT_EQ(uriOfFileName("Ziegel \xC3\xA4 \xE6\x9C\xA8.png"), "Ziegel%20%C3%A4%20%E6%9C%A8.png");
    EXPECT_EQ(uriOfFileName("a+b&c=d;e,f'(g)!@$\\\"<>[]{}|^`\x7F"),
        "a%2Bb%26c%3Dd%3Be%2Cf%27%28g%29%21%40%24%5C%22%3C%3E%5B%5D%7B%7D%7C%5E%60%7F");
    // Letters, digits, the four unreserved marks and folders stay as they are.
    EXPECT_EQ(uriOfFileName("maps/AZaz09-._~.png"), "maps/AZaz09-._~.png");
    EXPECT_EQ(uriOfFileName(std::string("a\0b", 3)), "a%00b");
}

TEST(GltfFileTest, FilesBesideOutput)
{
    GltfFiles files = gltfFilesBeside("dir/brick wall.png");
    EXPECT_EQ(files.document, "dir/brick wall.gltf");
    EXPECT_EQ(files.images.baseColor, "brick wall.png");
    EXPECT_EQ(files.images.normal, "brick wall-normal.png");
    EXPECT_EQ(files.images.orm, "brick wall-orm.png");

    // A dot in a folder's name is no extension, nor is a name's leading dot.
    files = gltfFilesBeside("maps.v2/.png");
    EXPECT_EQ(files.document, "maps.v2/.png.gltf");
    EXPECT_EQ(files.images.baseColor, ".png");
    EXPECT_EQ(files.images.normal, ".png-normal");
    files = gltfFilesBeside("C:\\maps\\wall.tile.png");
    EXPECT_EQ(files.document, "C:\\maps\\wall.tile.gltf");
    EXPECT_EQ(files.images.orm, "wall.tile-orm.png");
    files = gltfFilesBeside("wall");
    EXPECT_EQ(files.document, "wall.gltf");
    EXPECT_EQ(files.images.normal, "wall-normal");
}

TEST(GltfFileTest, DocumentNamesEachPictureEscapedOnce)
{
    std::string text = gltfMaterialDocument({ "a b.png", "a#b.png", "\xC3\xA4.png" });
    for (const char* uri :
        { "\"uri\": \"a%20b.png\"", "\"uri\": \"a%23b.png\"", "\"uri\": \"%C3%A4.png\"" }) {
        size_t at = text.find(uri);
        ASSERT_NE(at, std::string::npos) << uri;
        EXPECT_EQ(text.find(uri, at + 1), std::string::npos) << uri;
    }
    // The whole text is ASCII: nothing in it needs a JSON escape.
    for (char c : text)
        EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80 && c != '\\');
}
