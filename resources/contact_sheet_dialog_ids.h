// The contact sheet's dialogs and their controls. Help is IDC_HELP_BUTTON (998) of resource_ids.h.
#pragma once

#define IDD_CONTACT_OPTIONS 57
#define IDD_CONTACT_PREVIEW 60

// Contact Sheet Options.
#define IDC_CO_FOREGROUND 102
#define IDC_CO_TRANSPARENT 103
#define IDC_CO_BACKGROUND 104
#define IDC_CO_FOREGROUND_SWATCH 105
#define IDC_CO_BACKGROUND_SWATCH 106
#define IDC_CO_FACE 115
#define IDC_CO_POINTS 116
#define IDC_CO_BOLD 117
#define IDC_CO_ITALIC 118
#define IDC_CO_UNDERLINE 119
#define IDC_CO_STRIKEOUT 120
#define IDC_CO_LEFT_ALIGNED 121
#define IDC_CO_CENTRED 122
#define IDC_CO_RIGHT_ALIGNED 123
// The sheet sizes, in the order of "ContaDim".
#define IDC_CO_640 127
#define IDC_CO_800 128
#define IDC_CO_1024 129
#define IDC_CO_1280 130
#define IDC_CO_SHEET_SWATCH 131
#define IDC_CO_SHEET_COLOR 132

// Contact sheet preview: the area the boxes are drawn in, the selected item's fields, and
// "Global resize" with its read-out.
#define IDC_CP_AREA 101
#define IDC_CP_NAME 102
#define IDC_CP_SIZE 103
#define IDC_CP_FORMAT 104
#define IDC_CP_BOX 105
#define IDC_CP_RESIZE 106
#define IDC_CP_RESIZE_VALUE 107
#define IDC_CP_RESET 108
