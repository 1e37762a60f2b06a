// Numbers of the option dialogs (Interface, Color Depth / Quantizing, Jpeg I/O, Memory)
// and of their controls. Help is IDC_HELP_BUTTON (998) of resource_ids.h in each of them.
#pragma once

#define IDD_JPEG_OPTIONS 40
#define IDD_COLOR_DEPTH 43
#define IDD_MEMORY_OPTIONS 55
#define IDD_INTERFACE_OPTIONS 59

// Interface Options: check boxes.
#define IDC_IF_ENABLE_UNDO 150
#define IDC_IF_AUTO_QUANTIZE 191
#define IDC_IF_AUTO_RESIZE 187
#define IDC_IF_SCROLL_BARS 188
#define IDC_IF_THICK_FRAME 189
#define IDC_IF_ANIMATE_FRAME 193
#define IDC_IF_TOOLBAR_LEGENDS 198
#define IDC_IF_CONFIRM_SAVES 122
#define IDC_IF_POPUP_ICON 123
#define IDC_IF_THUMBS_ICON 204
#define IDC_IF_FULL_ON_TOP 208
// Interface Options: radio groups; each button's number is the option's value.
#define IDC_IF_DROP_SLIDESHOW 111
#define IDC_IF_DROP_COMPRESS 112
#define IDC_IF_DROP_PRINTER 113
#define IDC_IF_DROP_CONTACT 114
#define IDC_IF_RESIZE_NEVER 101
#define IDC_IF_RESIZE_SHRINK 102
#define IDC_IF_RESIZE_ENLARGE 103
#define IDC_IF_RESIZE_ALWAYS 104
#define IDC_IF_POS_SAME 105
#define IDC_IF_POS_LEFT_TOP 106
#define IDC_IF_POS_LEFT_BOTTOM 107
#define IDC_IF_POS_RIGHT_TOP 108
#define IDC_IF_POS_RIGHT_BOTTOM 109
#define IDC_IF_POS_CENTER 110
#define IDC_IF_CLIP_DIB 140
#define IDC_IF_CLIP_DDB 139

// Color Depth / Quantizing Options.
#define IDC_CD_TRUE_COLOR 101
#define IDC_CD_PALETTE 102
#define IDC_CD_CUSTOM 103
#define IDC_CD_CUSTOM_COUNT 104
#define IDC_CD_256 105
#define IDC_CD_WINDOWS16 106
#define IDC_CD_BLACK_WHITE 107
#define IDC_CD_DITHER 108

// Jpeg I/O Options.
#define IDC_JO_LOAD_GRAY 101
#define IDC_JO_ENTROPY 102
#define IDC_JO_QUALITY_TEXT 103
#define IDC_JO_QUALITY_BAR 104
#define IDC_JO_SAVE_GRAY 105
#define IDC_JO_SWITCH 106
#define IDC_JO_FAST_UPSAMPLING 107
#define IDC_JO_DCT_ACCURATE 108
#define IDC_JO_DCT_FAST 109
#define IDC_JO_DCT_FLOAT 110
#define IDC_JO_ONE_PASS 111
#define IDC_JO_FAST_DITHER 112
#define IDC_JO_WARN_GRAY 121
#define IDC_JO_SCALE_1 130
#define IDC_JO_SCALE_2 131
#define IDC_JO_SCALE_4 133
#define IDC_JO_SCALE_8 137

// Memory Options.
#define IDC_MEM_MAIN_ONLY 101
#define IDC_MEM_TMP_FILES 102
#define IDC_MEM_TMP_PATH 103
