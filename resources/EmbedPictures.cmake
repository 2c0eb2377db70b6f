# Writes OUTPUT, a C++ source holding the JPEG files PICTURE_101, PICTURE_102 and PICTURE_103 as
# byte arrays behind EmbeddedPicture(number). Run with cmake -P at build time.
set(numbers 101 102 103)
set(arrays "")
set(cases "")
foreach(number IN LISTS numbers)
    # A picture not drawn yet is simply not built in (the windows show their fallbacks).
    if(NOT EXISTS "${PICTURE_${number}}")
        continue()
    endif()
    file(READ "${PICTURE_${number}}" hex HEX)
    string(LENGTH "${hex}" length)
    math(EXPR size "${length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "const unsigned char kPicture${number}[${size}] = {\n${bytes}};\n")
    string(APPEND cases "        case ${number}:\n            return {kPicture${number}, sizeof kPicture${number}};\n")
endforeach()
if(arrays STREQUAL "")
    set(arrays "const unsigned char kNone = 0;\n")
endif()
set(text "// Generated at build time from the pictures in resources/pictures: do not edit.
#include \"resources/EmbeddedPictures.h\"

namespace {
${arrays}}  // namespace

std::span<const unsigned char> EmbeddedPicture(int number) {
    switch (number) {
${cases}        default:
            return {};
    }
}
")
file(WRITE "${OUTPUT}.tmp" "${text}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
