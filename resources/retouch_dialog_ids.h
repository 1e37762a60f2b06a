// Numbers of the retouch dialogs and of their controls. Help is IDC_HELP_BUTTON (998) of
// resource_ids.h in each of them.
#pragma once

#define IDD_ONE_SLIDER 45  // Contrast, Exp, Log and SineH Enhancement

#define IDC_RT_LABEL 101
#define IDC_RT_SLIDER 102
#define IDC_RT_VALUE 103
