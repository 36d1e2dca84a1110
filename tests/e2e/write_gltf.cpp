// Writes the .gltf the renderer writes beside a material rendered to OUT,
// for the tests that check it with a glTF validator:
//   write_gltf OUT
// OUT's pictures themselves are the test's to write.
#include <cstdio>

#include "render/gltf_file.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: write_gltf OUT\n");
        return 2;
    }
    GltfFiles files = gltfFilesBeside(argv[1]);
    std::string text = gltfMaterialDocument(files.images);
    FILE* file = fopen(files.document.c_str(), "wb");
    if (!file) {
        perror(files.document.c_str());
        return 1;
    }
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    if (fclose(file) != 0 || !written) {
        perror(files.document.c_str());
        return 1;
    }
    printf("%s\n", files.document.c_str());
    return 0;
}
