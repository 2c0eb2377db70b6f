// The JPEG pictures built into the program, by resource number: 101 the splash background
// (1536 x 1024), 102 the portrait of the splash corner and the Buy Track help (641 x 798), 103
// the help window's picture (653 x 811). The bytes come from resources/pictures at build time.
#pragma once

#include <span>

// The bytes of a picture; empty for a number that is not built in.
std::span<const unsigned char> EmbeddedPicture(int number);
