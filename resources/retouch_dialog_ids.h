// Numbers of the retouch dialogs and of their controls. Help is IDC_HELP_BUTTON (998) of
// resource_ids.h in each of them.
#pragma once

#define IDD_ONE_SLIDER 45  // Contrast, Exp, Log and SineH Enhancement

#define IDC_RT_LABEL 101
#define IDC_RT_SLIDER 102
#define IDC_RT_VALUE 103

#define IDD_IMAGE_FILTERS 52  // Image Filter Control Panel
#define IDD_RENAME_FILTER 54

#define IDC_FLT_RED 103
#define IDC_FLT_GREEN 104
#define IDC_FLT_BLUE 105
#define IDC_FLT_DEFAULTS 106
#define IDC_FLT_RENAME 107
#define IDC_FLT_BIAS 108
#define IDC_FLT_DIVISOR 109
#define IDC_FLT_LIST 110
#define IDC_FLT_SAVE 111
#define IDC_FLT_CELL0 200  // row r, column c at IDC_FLT_CELL0 + 5 r + c
#define IDC_FLT_EXEC 24

#define IDC_RN_OLD_NAME 101
#define IDC_RN_NEW_NAME 102

#define IDD_GAMMA 46          // Gamma Correction, with the lock
#define IDD_COLOR_BALANCE 47  // Color Balance, HSV and YCbCr Adjustment

// The three-slider dialogs: one row a parameter, of label, scroll bar and read-out.
#define IDC_CB_LABEL1 101
#define IDC_CB_SLIDER1 102
#define IDC_CB_VALUE1 103
#define IDC_CB_LABEL2 104
#define IDC_CB_SLIDER2 105
#define IDC_CB_VALUE2 106
#define IDC_CB_LABEL3 107
#define IDC_CB_SLIDER3 108
#define IDC_CB_VALUE3 109
#define IDC_CB_LOCK 111
#define IDC_CB_EXEC 24
