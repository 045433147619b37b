# Writes OUTPUT, a C++ source that holds the files of CLIPS (a ;-separated list) as byte arrays,
# so the devserver serves real videos without reading anything at run time.
set(arrays "")
set(views "")
set(index 0)
foreach(clip IN LISTS CLIPS)
  file(READ ${clip} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char clip${index}[] = {${bytes}};\n")
  string(APPEND views "    std::string_view(reinterpret_cast<const char*>(clip${index}), ${size}),\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by EmbedClips.cmake from the clips ffmpeg rendered; do not edit.
#include \"DemoClips.h\"

namespace devserver {
namespace {
${arrays}const std::string_view clips[] = {
${views}};
}  // namespace

std::span<const std::string_view> demoClips() { return clips; }

}  // namespace devserver
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
