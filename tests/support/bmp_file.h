// Test helpers for files: an independent reader of the 24-bit BMP files the
// tool writes, and a scratch directory that cleans up after itself.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace testsupport {

inline std::string readFile(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char chunk[65536];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, count);
    fclose(file);
    return bytes;
}

inline uint32_t littleEndian(const std::string& bytes, size_t offset, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | (uint8_t)bytes[offset + i];
    return value;
}

// Decodes an uncompressed 24-bit BMP into 0x00RRGGBB pixels, top row first.
// Returns false if the file is not such a BMP of the expected size.
inline bool decodeBmp24(
    const std::string& bytes, int width, int height, std::vector<uint32_t>& pixels)
{
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    uint32_t dataOffset = littleEndian(bytes, 10, 4);
    int32_t fileWidth = (int32_t)littleEndian(bytes, 18, 4);
    int32_t fileHeight = (int32_t)littleEndian(bytes, 22, 4);
    uint32_t bitsPerPixel = littleEndian(bytes, 28, 2);
    uint32_t compression = littleEndian(bytes, 30, 4);
    if (fileWidth != width || fileHeight != height || bitsPerPixel != 24 || compression != 0)
        return false;
    size_t rowBytes = ((size_t)width * 3 + 3) / 4 * 4;
    if (bytes.size() < dataOffset + rowBytes * height)
        return false;
    pixels.assign((size_t)width * height, 0);
    for (int y = 0; y < height; ++y) {
        size_t row = dataOffset + rowBytes * (height - 1 - y); // stored bottom-up
        for (int x = 0; x < width; ++x) {
            size_t at = row + (size_t)x * 3;
            pixels[(size_t)y * width + x] = ((uint32_t)(uint8_t)bytes[at + 2] << 16)
                | ((uint32_t)(uint8_t)bytes[at + 1] << 8) | (uint8_t)bytes[at];
        }
    }
    return true;
}

// The names in a directory, without "." and "..".
inline std::vector<std::string> listDirectory(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
        names.push_back(entry.path().filename().u8string());
    return names;
}

// A fresh directory in the system's temporary folder, removed with its
// contents at the end of scope.
struct ScratchDirectory {
    std::string path;
    ScratchDirectory()
    {
        static unsigned made = 0;
        std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        for (;;) {
            std::filesystem::path candidate = base
                / ("quiltor-test-" + std::to_string(random()) + "-" + std::to_string(++made));
            if (std::filesystem::create_directory(candidate)) {
                path = candidate.u8string();
                return;
            }
        }
    }
    ~ScratchDirectory()
    {
        std::error_code error;
        std::filesystem::remove_all(path, error);
        if (error)
            fprintf(stderr, "could not remove %s\n", path.c_str());
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
};

} // namespace testsupport
