// Pixel art scaled without blur: every pixel of the scaled picture is a copy of the source
// pixel nearest to it, so edges stay hard and a transparent colour stays exactly itself.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The source index a scaled pixel copies, sampled at the pixel's centre.
int NearestSource(int scaledIndex, int scaledLength, int sourceLength);

// A picture of width x height pixels, row by row, scaled to the new size.
std::vector<std::uint32_t> ScalePixelsSharp(std::span<const std::uint32_t> pixels, int width,
                                            int height, int scaledWidth, int scaledHeight);
