#pragma once
// Where the finished photos go: the output folder proposed from a photo folder,
// and the folder a path dropped onto the output field stands for.

#include <string>
#include <string_view>

namespace kov {

// The path with the separator appended unless it already ends in one (a path of
// 2048 bytes or more never counts as ending in one).
std::string withTrailingSeparator(std::string_view path);

// The folder part of the photo folder (through its last separator), then the
// prefix, then the name after that separator. A photo folder that ends in the
// separator gives a sub-folder named by the prefix ("/p/Event/" -> "/p/Event/TA");
// one without gives a sibling ("/p/Event" -> "/p/TAEvent").
std::string proposedOutputFolder(std::string_view photoFolder, std::string_view prefix);

// A path dropped onto the output field: that folder when it is one, otherwise
// the folder holding the dropped item; either with a trailing separator.
std::string droppedOutputFolder(std::string_view path);

}  // namespace kov
