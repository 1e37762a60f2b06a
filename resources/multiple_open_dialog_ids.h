// The Multiple File Open dialog and its controls. Help is IDC_HELP_BUTTON (998) of resource_ids.h.
#pragma once

#define IDD_MULTIPLE_OPEN 58

#define IDC_MO_PATH 101
#define IDC_MO_TYPES 102
#define IDC_MO_FILES 103
#define IDC_MO_SELECT_ALL 104
#define IDC_MO_UNSELECT_ALL 105
#define IDC_MO_ADD 106
#define IDC_MO_REMOVE 107
#define IDC_MO_ADD_ALL 108
#define IDC_MO_REMOVE_ALL 109
#define IDC_MO_CHOSEN 110
// The destinations.
#define IDC_MO_SLIDESHOW 111
#define IDC_MO_CONTACT_SHEET 112
#define IDC_MO_COMPRESSION 113
#define IDC_MO_PRINTER 114
#define IDC_MO_SAVE_LIST 115
#define IDC_MO_LOAD_LIST 116
#define IDC_MO_PREVIEW_ON 118
#define IDC_MO_PREVIEW 119
#define IDC_MO_PREVIEW_GRAY 120
#define IDC_MO_DELETE 121
#define IDC_MO_SETUP 23
