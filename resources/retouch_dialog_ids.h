// Numbers of the retouch dialogs and of their controls. Help is IDC_HELP_BUTTON (998) of
// resource_ids.h in each of them.
#pragma once

#define IDD_ONE_SLIDER 45  // Contrast, Exp, Log and SineH Enhancement

#define IDC_RT_LABEL 101
#define IDC_RT_SLIDER 102
#define IDC_RT_VALUE 103

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
