// Resource and command identifiers of Lintavo.exe.
#pragma once

#define IDR_MAIN_MENU 100
#define IDR_HELP_POPUP 101

#define IDB_GLYPH_SETUP 200
#define IDB_GLYPH_HELP 201
#define IDB_GLYPH_EXIT 202
#define IDB_WALLPAPER 203

#define IDM_FILE_LANG 1001
#define IDM_FILE_EXIT 1002
#define IDM_SETUP_VIEW 1010
#define IDM_SETUP_READER 1011
#define IDM_SETUP_OUTPUT 1012
#define IDM_HELP_MAINWINDOW 1020
#define IDM_HELP_CONTENTS 1021
#define IDM_HELP_ABOUT 1022
