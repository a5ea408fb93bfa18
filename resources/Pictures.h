#pragma once

#include "toolkit/Picture.h"

// The program's artwork, rendered from resources/icons/*.svg when the program is built, at the
// sizes that resources/CMakeLists.txt gives: the program's icon at the window icon sizes, the
// image buttons at 24 pixels and at that size times the usual screen scales.
namespace Pictures {

const toolkit::Picture& quilmar();
const toolkit::Picture& copier();
const toolkit::Picture& coller();
const toolkit::Picture& parametres();
const toolkit::Picture& aide();

} // namespace Pictures
