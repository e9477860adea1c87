// cardsim's whole run, shared by the Linux and Windows entry points.
#pragma once

#include <string>
#include <vector>

namespace cardsim {

// Exit code 0 when everything was written, 1 on a line failure, 2 on a bad command line.
int Run(const std::vector<std::string>& args);

}  // namespace cardsim
