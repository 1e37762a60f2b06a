// Numbers of the retouch dialogs and of their controls. Help is IDC_HELP_BUTTON (998) of
// resource_ids.h in each of them.
#pragma once

#define IDD_ONE_SLIDER 45  // Contrast, Exp, Log and SineH Enhancement

#define IDC_RT_LABEL 101
#define IDC_RT_SLIDER 102
#define IDC_RT_VALUE 103

// Select Color Palette Entry and Select 24-bit Color. The grid and the swatch are both 120,
// the Dropper 106 in both.
#define IDD_PALETTE_ENTRY 50
#define IDD_COLOR_24 51
#define IDC_COLOUR_AREA 120
#define IDC_COLOUR_DROPPER 106
#define IDC_C8_INDEX 101
#define IDC_C8_RGB 102
#define IDC_C8_MASK 103
#define IDC_C8_BLACK 104
#define IDC_C8_WHITE 105
#define IDC_C24_RED 101
#define IDC_C24_GREEN 102
#define IDC_C24_BLUE 103
#define IDC_C24_RED_VALUE 111
#define IDC_C24_GREEN_VALUE 112
#define IDC_C24_BLUE_VALUE 113
