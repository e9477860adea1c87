#pragma once

#define IDD_ABOUT 100
#define IDC_ABOUT_ICON 101
#define IDC_ABOUT_NAME 102
#define IDC_ABOUT_VERSION 103
