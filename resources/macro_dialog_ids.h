// Numbers of Macro Retouch Setup and its rename dialog, and of their controls. Help is
// IDC_HELP_BUTTON (998) of resource_ids.h in both.
#pragma once

#define IDD_MACRO_SETUP 66
#define IDC_MACRO_LIST 101
#define IDC_MACRO_RENAME 102
#define IDC_MACRO_DEFAULTS 103
#define IDC_MACRO_OPERATION0 110  // the operation of slot k at IDC_MACRO_OPERATION0 + k
#define IDC_MACRO_PARAMETER0 120  // parameter j of slot k at IDC_MACRO_PARAMETER0 + 3 k + j
#define IDC_MACRO_EXEC 24

#define IDD_RENAME_MACRO 53
#define IDC_KN_OLD_NAME 101
#define IDC_KN_NEW_NAME 102
