// A material as a glTF 2.0 file beside its pictures: one square, one texture
// wide, that shows the colours, normal map and occlusion-roughness-metallic
// map tiled, so that a viewer or importer shows the material as soon as it
// opens the .gltf. The text is worked out here without any file access; the
// renderer writes it.
#pragma once

#include <string>

// The material's three pictures as file names relative to the .gltf's
// folder, in UTF-8 and not yet escaped: the colours (sRGB), the normal map
// (green up) and the map with occlusion in red, roughness in green and
// metallic in blue (linear).
struct GltfImages {
    std::string baseColor;
    std::string normal;
    std::string orm;
};

// The files of a material written to OUT: the .gltf's path and the pictures'
// names beside it.
struct GltfFiles {
    std::string document; // OUT with .gltf in place of its extension
    GltfImages images; // OUT's file name, and the same with -normal and -orm
};

// "dir/brick wall.png" gives "dir/brick wall.gltf" and the images
// "brick wall.png", "brick wall-normal.png" and "brick wall-orm.png". The
// names follow the renderer's own rule for the files beside OUT: the
// extension starts at the last dot of the file name, and a leading dot
// starts none.
GltfFiles gltfFilesBeside(const std::string& output);

// A relative file name as a URI reference: every byte but ASCII letters,
// digits, "-", ".", "_", "~" and the folder separator "/" percent-encoded
// (uppercase hex), so spaces, "#", "%", "?", ":" and each UTF-8 byte of a
// non-ASCII letter come out as %XX and the reference can never be read as
// having a scheme, query or fragment.
std::string uriOfFileName(const std::string& fileName);

// The whole .gltf, the same bytes for the same names: the square of side 1
// centred at the origin and facing +Z, with normals, tangents (w = 1) and
// texture coordinates 0 to 1 across it, so the texture shows once, in a
// buffer embedded as base64; one material of the three pictures by relative
// URI, the ORM picture serving both occlusion and metallic-roughness, with a
// repeating, linearly filtered sampler; a scene of one node.
std::string gltfMaterialDocument(const GltfImages& images);
