// A report-view list of another process read from outside as a screen reader would: its
// lines, the text of a cell (through memory lent in that process), the selection and the
// line at the top.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

int ListViewCount(HWND list);
// The cell's text; "<unreadable>" when the other process would not lend the memory.
std::wstring ListViewText(HWND list, int line, int column);
std::vector<int> ListViewSelected(HWND list);
int ListViewTopLine(HWND list);
// Whether the line stands whole in the list's view.
bool ListViewShows(HWND list, int line);
