// Help: the program's Russian help text, topics by context number, in a window of its own
// (the Windows program hands the same requests to its help library). The document is
// DOC/Lintavo.crf beside the program, or in the installed share folder.
#pragma once

#include <cstdint>

void ShowHelpContents();
void ShowHelpContext(std::int32_t context);
