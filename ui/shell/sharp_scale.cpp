#include "ui/shell/sharp_scale.h"

#include <cstddef>

int NearestSource(int scaledIndex, int scaledLength, int sourceLength) {
  const long long centre = 2LL * scaledIndex + 1;
  return static_cast<int>(centre * sourceLength / (2LL * scaledLength));
}

std::vector<std::uint32_t> ScalePixelsSharp(std::span<const std::uint32_t> pixels, int width,
                                            int height, int scaledWidth, int scaledHeight) {
  if (width <= 0 || height <= 0 || scaledWidth <= 0 || scaledHeight <= 0 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return {};
  std::vector<std::uint32_t> scaled;
  scaled.reserve(static_cast<std::size_t>(scaledWidth) * static_cast<std::size_t>(scaledHeight));
  for (int y = 0; y < scaledHeight; ++y) {
    const std::size_t row = static_cast<std::size_t>(NearestSource(y, scaledHeight, height)) *
                            static_cast<std::size_t>(width);
    for (int x = 0; x < scaledWidth; ++x)
      scaled.push_back(
          pixels[row + static_cast<std::size_t>(NearestSource(x, scaledWidth, width))]);
  }
  return scaled;
}
