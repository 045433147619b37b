#pragma once

#include <span>
#include <string_view>

namespace devserver {

// Short 9:16 H.264 clips with an AAC tone, each in its own colour with its own label, rendered
// by ffmpeg at build time (see CMakeLists.txt).
std::span<const std::string_view> demoClips();

}  // namespace devserver
