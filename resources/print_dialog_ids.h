// Numbers of the printing dialogs (Print, Printer Options) and of their controls. Help is
// IDC_HELP_BUTTON (998) of resource_ids.h in each of them.
#pragma once

#define IDD_PRINT 35
#define IDD_PRINTER_OPTIONS 56

// Print: the printer's name, its print qualities, and the print setup.
#define IDC_PRINT_PRINTER 1088
#define IDC_PRINT_QUALITY 1136
#define IDC_PRINT_SETUP 23

// Printer Options.
#define IDC_PO_FIT 101
#define IDC_PO_COLS_BAR 102
#define IDC_PO_ROWS_BAR 103
#define IDC_PO_COLS_VALUE 104
#define IDC_PO_ROWS_VALUE 105
#define IDC_PO_CENTER 106
