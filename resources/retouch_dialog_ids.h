// Numbers of the retouch dialogs and of their controls. Help is IDC_HELP_BUTTON (998) of
// resource_ids.h in each of them.
#pragma once

#define IDD_ONE_SLIDER 45  // Contrast, Exp, Log and SineH Enhancement

#define IDC_RT_LABEL 101
#define IDC_RT_SLIDER 102
#define IDC_RT_VALUE 103

#define IDD_INTERACTIVE_RGB 48
#define IDC_IRGB_NONE 102  // ordering: None, Increasing, Decreasing
#define IDC_IRGB_INCREASING 103
#define IDC_IRGB_DECREASING 104
#define IDC_IRGB_RED 105  // channel being edited: Red, Green, Blue
#define IDC_IRGB_GREEN 106
#define IDC_IRGB_BLUE 107
#define IDC_IRGB_LOCK 108
#define IDC_IRGB_FUNCTIONS 109
#define IDC_IRGB_EDIT_FUNCTION 110
#define IDC_IRGB_USE_FUNCTIONS 111
#define IDC_IRGB_SELECT_LABEL 112
#define IDC_IRGB_SAVE 113
#define IDC_IRGB_GRAPH 120
#define CURVE_GRAPH_CLASS "QuillaCurveGraph"  // the graph's window class, registered by the shell
#define IDC_IRGB_EXEC 24

#define IDD_EDIT_FUNCTION 49
#define IDC_FUNCTION_TEXT 114
