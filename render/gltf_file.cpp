#include "render/gltf_file.h"

#include "render/material_engine.h"
#include "render/options.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The square's four corners, counter-clockwise seen from +Z, starting at the
// lower left. glTF's texture coordinates start at the picture's upper left,
// so v runs down the square while y runs up it.
const float POSITIONS[4][3] = { { -0.5f, -0.5f, 0.0f }, { 0.5f, -0.5f, 0.0f }, { 0.5f, 0.5f, 0.0f },
    { -0.5f, 0.5f, 0.0f } };
const float NORMALS[4][3]
    = { { 0.0f, 0.0f, 1.0f }, { 0.0f, 0.0f, 1.0f }, { 0.0f, 0.0f, 1.0f }, { 0.0f, 0.0f, 1.0f } };
// u grows along +X; with w = 1 the bitangent, normal × tangent, is +Y, up the
// picture, the way a green-up normal map points.
const float TANGENTS[4][4] = { { 1.0f, 0.0f, 0.0f, 1.0f }, { 1.0f, 0.0f, 0.0f, 1.0f },
    { 1.0f, 0.0f, 0.0f, 1.0f }, { 1.0f, 0.0f, 0.0f, 1.0f } };
const float TEXCOORDS[4][2] = { { 0.0f, 1.0f }, { 1.0f, 1.0f }, { 1.0f, 0.0f }, { 0.0f, 0.0f } };
const uint16_t INDICES[6] = { 0, 1, 2, 0, 2, 3 };

// glTF's buffers are little-endian whatever the machine.
void appendFloats(const float* values, size_t count, std::vector<uint8_t>* bytes)
{
    for (size_t i = 0; i < count; ++i) {
        uint32_t bits;
        memcpy(&bits, &values[i], sizeof bits);
        for (int shift = 0; shift < 32; shift += 8)
            bytes->push_back(uint8_t(bits >> shift));
    }
}

std::string base64(const std::vector<uint8_t>& bytes)
{
    static const char DIGITS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t left = bytes.size() - i;
        uint32_t group = uint32_t(bytes[i]) << 16;
        if (left > 1)
            group |= uint32_t(bytes[i + 1]) << 8;
        if (left > 2)
            group |= bytes[i + 2];
        text += DIGITS[group >> 18 & 63];
        text += DIGITS[group >> 12 & 63];
        text += left > 1 ? DIGITS[group >> 6 & 63] : '=';
        text += left > 2 ? DIGITS[group & 63] : '=';
    }
    return text;
}

// The shortest decimal that reads back as the same float, in no locale.
std::string floatText(float value)
{
    char text[32];
    std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

std::string floatArray(const float* values, size_t count)
{
    std::string text = "[";
    for (size_t i = 0; i < count; ++i)
        text += (i ? ", " : "") + floatText(values[i]);
    return text + "]";
}

struct BufferView {
    size_t offset;
    size_t length;
    int target; // 34962: vertex attributes, 34963: indices
};

// One buffer view per attribute and one for the indices, in this order,
// each starting on a multiple of four.
std::vector<uint8_t> meshBytes(std::vector<BufferView>* views)
{
    std::vector<uint8_t> bytes;
    auto add = [&](const float* values, size_t count) {
        size_t offset = bytes.size();
        appendFloats(values, count, &bytes);
        views->push_back({ offset, bytes.size() - offset, 34962 });
    };
    add(&POSITIONS[0][0], 12);
    add(&NORMALS[0][0], 12);
    add(&TANGENTS[0][0], 16);
    add(&TEXCOORDS[0][0], 8);
    size_t offset = bytes.size();
    for (uint16_t index : INDICES) {
        bytes.push_back(uint8_t(index));
        bytes.push_back(uint8_t(index >> 8));
    }
    views->push_back({ offset, bytes.size() - offset, 34963 });
    return bytes;
}

std::string accessor(
    int view, int componentType, int count, const char* type, const std::string& bounds)
{
    return "    {\n      \"bufferView\": " + std::to_string(view) + ",\n      \"componentType\": "
        + std::to_string(componentType) + ",\n      \"count\": " + std::to_string(count)
        + ",\n      \"type\": \"" + type + "\"" + bounds + "\n    }";
}

std::string imageEntry(const std::string& fileName)
{
    return "    {\n      \"uri\": \"" + uriOfFileName(fileName) + "\"\n    }";
}

// The file name of a path: what follows its last "/" or "\\".
std::string fileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

GltfFiles gltfFilesBeside(const std::string& output)
{
    // The names the material's files are given beside OUT, so the scene
    // names the very files written.
    const char* packed = materialEngineRow(ENGINE_GLTF).packedMark;
    GltfFiles files;
    files.document = besideOutput(output, "", ".gltf");
    files.images.baseColor = fileNameOf(output);
    files.images.normal = fileNameOf(besideOutput(output, "-normal", nullptr));
    files.images.orm = fileNameOf(besideOutput(output, packed, nullptr));
    return files;
}

std::string uriOfFileName(const std::string& fileName)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string uri;
    for (char c : fileName) {
        unsigned char byte = static_cast<unsigned char>(c);
        bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
            || (byte >= '0' && byte <= '9') || strchr("-._~/", byte) != nullptr;
        if (kept && byte != 0) {
            uri += c;
        } else {
            uri += '%';
            uri += HEX[byte >> 4];
            uri += HEX[byte & 15];
        }
    }
    return uri;
}

std::string gltfMaterialDocument(const GltfImages& images)
{
    std::vector<BufferView> views;
    std::vector<uint8_t> bytes = meshBytes(&views);
    std::string viewText;
    for (size_t i = 0; i < views.size(); ++i) {
        viewText += std::string(i ? ",\n" : "")
            + "    {\n      \"buffer\": 0,\n      \"byteOffset\": "
            + std::to_string(views[i].offset)
            + ",\n      \"byteLength\": " + std::to_string(views[i].length)
            + ",\n      \"target\": " + std::to_string(views[i].target) + "\n    }";
    }
    // The lower left and upper right corners bound the positions.
    std::string bounds = ",\n      \"min\": " + floatArray(POSITIONS[0], 3)
        + ",\n      \"max\": " + floatArray(POSITIONS[2], 3);
    return "{\n"
           "  \"asset\": {\n"
           "    \"version\": \"2.0\",\n"
           "    \"generator\": \"Quiltor\"\n"
           "  },\n"
           "  \"scene\": 0,\n"
           "  \"scenes\": [\n"
           "    {\n"
           "      \"nodes\": [0]\n"
           "    }\n"
           "  ],\n"
           "  \"nodes\": [\n"
           "    {\n"
           "      \"name\": \"Material\",\n"
           "      \"mesh\": 0\n"
           "    }\n"
           "  ],\n"
           "  \"meshes\": [\n"
           "    {\n"
           "      \"name\": \"Square\",\n"
           "      \"primitives\": [\n"
           "        {\n"
           "          \"attributes\": {\n"
           "            \"POSITION\": 0,\n"
           "            \"NORMAL\": 1,\n"
           "            \"TANGENT\": 2,\n"
           "            \"TEXCOORD_0\": 3\n"
           "          },\n"
           "          \"indices\": 4,\n"
           "          \"material\": 0,\n"
           "          \"mode\": 4\n"
           "        }\n"
           "      ]\n"
           "    }\n"
           "  ],\n"
           "  \"materials\": [\n"
           "    {\n"
           "      \"name\": \"Material\",\n"
           "      \"pbrMetallicRoughness\": {\n"
           "        \"baseColorTexture\": {\n"
           "          \"index\": 0\n"
           "        },\n"
           "        \"metallicRoughnessTexture\": {\n"
           "          \"index\": 2\n"
           "        }\n"
           "      },\n"
           "      \"normalTexture\": {\n"
           "        \"index\": 1\n"
           "      },\n"
           "      \"occlusionTexture\": {\n"
           "        \"index\": 2\n"
           "      }\n"
           "    }\n"
           "  ],\n"
           "  \"textures\": [\n"
           "    {\n"
           "      \"sampler\": 0,\n"
           "      \"source\": 0\n"
           "    },\n"
           "    {\n"
           "      \"sampler\": 0,\n"
           "      \"source\": 1\n"
           "    },\n"
           "    {\n"
           "      \"sampler\": 0,\n"
           "      \"source\": 2\n"
           "    }\n"
           "  ],\n"
           "  \"images\": [\n"
        + imageEntry(images.baseColor) + ",\n" + imageEntry(images.normal) + ",\n"
        + imageEntry(images.orm)
        + "\n"
          "  ],\n"
          // Repeat in both directions, so a larger square or scaled
          // coordinates tile the material; trilinear, as a tiled surface seen
          // at a slant wants.
          "  \"samplers\": [\n"
          "    {\n"
          "      \"magFilter\": 9729,\n"
          "      \"minFilter\": 9987,\n"
          "      \"wrapS\": 10497,\n"
          "      \"wrapT\": 10497\n"
          "    }\n"
          "  ],\n"
          "  \"accessors\": [\n"
        + accessor(0, 5126, 4, "VEC3", bounds) + ",\n" + accessor(1, 5126, 4, "VEC3", "") + ",\n"
        + accessor(2, 5126, 4, "VEC4", "") + ",\n" + accessor(3, 5126, 4, "VEC2", "") + ",\n"
        + accessor(4, 5123, 6, "SCALAR", "")
        + "\n"
          "  ],\n"
          "  \"bufferViews\": [\n"
        + viewText
        + "\n"
          "  ],\n"
          "  \"buffers\": [\n"
          "    {\n"
          "      \"byteLength\": "
        + std::to_string(bytes.size())
        + ",\n"
          "      \"uri\": \"data:application/octet-stream;base64,"
        + base64(bytes)
        + "\"\n"
          "    }\n"
          "  ]\n"
          "}\n";
}
