// The Add Text dialog and its controls. Help is IDC_HELP_BUTTON (998) of resource_ids.h.
#pragma once

#define IDD_ADD_TEXT 62

#define IDC_AT_TEXT 101
#define IDC_AT_FOREGROUND 102
#define IDC_AT_TRANSPARENT 103
#define IDC_AT_BACKGROUND 104
#define IDC_AT_FOREGROUND_SWATCH 105
#define IDC_AT_BACKGROUND_SWATCH 106
// The rectangle's sliders, each followed by its read-out: left, top, width, height.
#define IDC_AT_LEFT 107
#define IDC_AT_LEFT_VALUE 108
#define IDC_AT_TOP 109
#define IDC_AT_TOP_VALUE 110
#define IDC_AT_WIDTH 111
#define IDC_AT_WIDTH_VALUE 112
#define IDC_AT_HEIGHT 113
#define IDC_AT_HEIGHT_VALUE 114
#define IDC_AT_FACE 115
#define IDC_AT_POINTS 116
#define IDC_AT_BOLD 117
#define IDC_AT_ITALIC 118
#define IDC_AT_UNDERLINE 119
#define IDC_AT_STRIKEOUT 120
#define IDC_AT_LEFT_ALIGNED 121
#define IDC_AT_CENTRED 122
#define IDC_AT_RIGHT_ALIGNED 123
#define IDC_AT_HORIZONTAL 124
#define IDC_AT_VERTICAL_UP 125
#define IDC_AT_VERTICAL_DOWN 126
#define IDC_AT_EXEC 24
