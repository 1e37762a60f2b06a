// Numbers of the Slideshow Options dialog and of its controls. Help is IDC_HELP_BUTTON
// (998) of resource_ids.h.
#pragma once

#define IDD_SLIDESHOW_OPTIONS 37

#define IDC_SS_AUTOMATIC 101
#define IDC_SS_INTERACTIVE 102
#define IDC_SS_CYCLE 103
#define IDC_SS_DELAY 104
#define IDC_SS_FULL_SCREEN 105
