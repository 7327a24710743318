// FrameworkTestIds.h - resource IDs of the framework tests' own templates,
// far above the program's.
#pragma once

#define IDD_FT_FIELDS 30001
#define IDD_FT_PAGE_A 30002
#define IDD_FT_PAGE_B 30003
#define IDD_FT_PAGE_C 30004
#define IDD_FT_OWNER 30005
#define IDR_FT_ACCEL 30010
#define IDS_FT_SHEET 30020
#define IDS_FT_PAGE_A 30021
#define IDS_FT_PAGE_B 30022
#define IDS_FT_PAGE_C 30023

#define IDC_FT_COUNT 101
#define IDC_FT_NAME 102
#define IDC_FT_RATE 103
#define IDC_FT_CHECK 104
#define IDC_FT_COMBO 105
#define IDC_FT_SLIDER 106
#define IDC_FT_FIRST 111
#define IDC_FT_SECOND 112
#define IDC_FT_THIRD 113
#define IDM_FT_ACCEL 40100
