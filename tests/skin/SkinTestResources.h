#pragma once
// Dialog template and control ids of the skin toolkit's test programs and gallery.
#define IDD_SKIN_TEST 500
#define IDC_BUTTON_A 1001
#define IDC_BUTTON_B 1002
#define IDC_BUTTON_C 1003
#define IDC_BUTTON_D 1004
#define IDC_BUTTON_E 1005
#define IDC_BUTTON_F 1006
#define IDC_LABEL 1010
#define IDC_LABEL_2 1011
#define IDC_LINK 1012
#define IDC_SLIDER 1013
#define IDC_SLIDER_2 1014
#define IDC_COLOUR 1015
#define IDC_COLOUR_2 1016
#define IDC_LIST 1017
#define IDC_EDIT 1018
#define IDC_COMBO 1019
