#pragma once
// Resource identifiers of the program.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_KEYWEAVE_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_CONNECTED 141
#define IDI_ACTIVITY 142

#define IDC_APPLY 1006
#define IDC_ABOUT_TEXT 1206
#define IDC_ABOUT_COPYRIGHT 1205
#define IDC_ABOUT_LINK 1124
#define IDC_BUSY 1177
