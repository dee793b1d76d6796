// Writes 24-bit RGB images as PNG files (uncompressed deflate blocks: no library needed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e
{
// rgb holds width * height pixels, 3 bytes each (red, green, blue), top row first.
// Returns false when the file cannot be written.
bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& rgb);
} // namespace e2e
