// Numbers of the Resize and New Image dialogs and of their controls. Help is
// IDC_HELP_BUTTON (998) of resource_ids.h in both. Resize is named "Resize", not numbered.
#pragma once

#define IDD_NEW_IMAGE 63  // File > New and Redimension

// Resize: sizes, aspect flag, presets in the order of SizePresets from 640 x 480 on, the
// ratio sliders and their read-outs.
#define IDC_RS_CURRENT_WIDTH 101
#define IDC_RS_CURRENT_HEIGHT 102
#define IDC_RS_WIDTH 103
#define IDC_RS_HEIGHT 104
#define IDC_RS_ASPECT 105
#define IDC_RS_PRESET_FIRST 106  // 640 x 480 .. 1280 x 1024 at 106..109, desktop 110, max client 111
#define IDC_RS_COLS_SLIDER 112
#define IDC_RS_ROWS_SLIDER 113
#define IDC_RS_COLS_RATIO 114
#define IDC_RS_ROWS_RATIO 115

// New Image: the two sizes and the presets, in the same order.
#define IDC_NI_WIDTH 101
#define IDC_NI_HEIGHT 102
#define IDC_NI_PRESET_FIRST 103  // 640 x 480 .. 1280 x 1024 at 103..106, desktop 107, max client 108
