// resource.h - every resource ID of the program, named once.
#pragma once

// Application and dialog templates
#define IDD_ABOUTBOX            651
#define IDD_MAINTOOL            1247

// Icons
#define IDI_APPLICATION_ICON    1269
#define IDI_SHEET_ICON          1270

// About box controls
#define IDC_ABOUT_VERSION       201
#define IDC_ABOUT_COPYRIGHT     200

// Tool window controls
#define IDC_BTN_PROPERTIES      291
#define IDC_BTN_WATCHER         292
#define IDC_BTN_SIGNAL          293
#define IDC_BTN_THROUGHPUT      294

// Strings
#define IDS_MAIN_TITLE          16
#define IDS_ERROR               1112
#define IDS_PCMCIA              1115
#define IDS_ISA                 1116
#define IDS_ADHOC               1118
#define IDS_INFRASTRUCTURE      1119
#define IDS_CARRIER_USA         1121
#define IDS_CARRIER_EUROPE      1122
#define IDS_CARRIER_JAPAN       1123
#define IDS_CARRIER_UNKNOWN     1128
#define IDS_CARRIER_SPAIN       1135
#define IDS_CARRIER_FRANCE      1136
#define IDS_CARRIER_CANADA      1137
#define IDS_NO_DEBUG_INFO       1232
#define IDS_UNABLE_DISPLAY      1120
#define IDS_WARNING             1124
#define IDS_NO_VERSION_INFO     1133
#define IDS_NETWORK_WATCHER     1209
#define IDS_NO_HELP_FILE        1211
#define IDS_SIGNAL_INDICATOR    1222
#define IDS_VIEW_THROUGHPUT     1223
#define IDS_NO_ADAPTER          1224
#define IDS_NO_RESPONSE         1225
#define IDS_PRODUCT             1226
#define IDS_BAD_INSTALL         1227
#define IDS_PROPERTIES_CAPTION  1229
#define IDS_NOT_WORKING         1230
#define IDS_NOT_AVAILABLE       1231

// Widgets: list view column pictures and the hyperlink hand cursor
#define IDB_COLUMN_ICONS        26018
#define IDC_HAND_CURSOR         1301

// Notification icon menu, owner-drawn menu artwork, flat button and quality icons
#define IDR_TRAY_MENU           1       // menu: the pop-up "Dummy Popup"
#define IDR_TRAY_TOOLBAR        1309    // toolbar (type 241) and its bitmap
#define IDB_MENU_BANNER         1313    // banner down the left of a popup
#define RT_TOOLBAR_RES          241     // resource type of a toolbar
#define IDM_ADAPTER_PROPERTIES  1001
#define IDM_EXIT                1004
#define IDM_NETWORK_WATCHER     1010
#define IDM_SIGNAL_QUALITY      40008
#define IDM_THROUGHPUT_MONITOR  40010
#define IDM_HELP_CONTENTS       40012
#define IDM_PREFERENCES         40018
#define IDM_ABOUT               14
#define IDI_PROPERTIES_NORMAL   1289
#define IDI_PROPERTIES_HOT      1291
#define IDI_WATCHER_HOT         1292
#define IDI_WATCHER_NORMAL      1293
#define IDI_THROUGHPUT_HOT      1294
#define IDI_THROUGHPUT_NORMAL   1295
#define IDI_SIGNAL_HOT          1296
#define IDI_SIGNAL_NORMAL       1297
#define IDI_QUALITY_NONE        1317    // grey: no value
#define IDI_QUALITY_GOOD        1316    // green: 60 and above
#define IDI_QUALITY_FAIR        1231    // orange: 30 to 59
#define IDI_QUALITY_POOR        1307    // red: below 30

// Tool window and link monitor, Preferences, signal quality window (res/app.rc)
#define IDD_PREFERENCES         1299
#define IDD_SIGNAL              1245
#define IDD_BSS_WATCH           650
#define IDD_STATION_WATCH       1246
#define IDD_THROUGHPUT          1244
#define IDD_SHEET_PLACEHOLDER   1248    // the property sheet until its pages exist
#define IDI_PREFERENCES         1300
#define IDI_SIGNAL_WINDOW       1272
#define IDC_PREFS_AUTORUN       358
#define IDC_PREFS_TRAY_ICON     359
#define IDC_PREFS_ALERT_MESSAGE 360
#define IDC_PREFS_ALERT_BEEP    361
#define IDC_PREFS_HELP          101
#define IDC_PREFS_CANCEL        102
#define IDR_ACCELERATORS        1       // accelerator table of the hidden modes
#define IDM_ADVANCED_MODE       1011    // Ctrl+Alt+A
#define IDM_ADVANCED_CONFIG     40004   // Ctrl+Alt+N
#define IDM_STATE_MODE          40007   // Ctrl+Alt+S
#define IDS_HELP_CONTENTS       40002   // help keyword of the tool window
#define IDS_QUALITY             1214
#define IDS_INFORMATION_CAPTION 1228
#define IDS_SIGNAL_CAPTION      57346
#define IDS_ALERT_CAPTION       57351
#define IDS_ALERT_ADHOC         57352
#define IDS_PREFS_HELP_KEY      57353
#define IDS_NO_CONNECTION       57356
#define IDS_WELCOME             57357
#define IDS_SCANNING            57358
#define IDS_ALERT_INFRA         57359
// The system menu items' texts share their commands' numbers: IDM_ABOUT (14)
// "About..." and IDM_PREFERENCES (40018) "&Preferences".

// Framework: the data exchange's messages (res/framework.rc)
#define IDS_PARSE_INT           61712
#define IDS_PARSE_INT_RANGE     61713

// Tool window: the tray tip of an adapter that is not working (res/app.rc)
#define IDS_TIP_NOT_WORKING     61714

// Adapter Statistics dialog and Station Throughput Monitor (res/thru.rc)
#define IDD_STATISTICS          400
#define IDC_STAT_TX_OK          195
#define IDC_STAT_TX_MULTICAST   196
#define IDC_STAT_TX_BROADCAST   181
#define IDC_STAT_TX_BYTES       180
#define IDC_STAT_TX_RETRIES     197
#define IDC_STAT_TX_FAILED      187
#define IDC_STAT_PERIOD         188
#define IDC_STAT_RX_OK          194
#define IDC_STAT_RX_MULTICAST   198
#define IDC_STAT_RX_BROADCAST   193
#define IDC_STAT_RX_BYTES       182
#define IDC_STAT_RX_DUPLICATED  192
#define IDC_STAT_RX_CRC         183
#define IDC_STAT_RX_TRUNCATED   191
#define IDC_STAT_RX_OVERLENGTH  184
#define IDC_STAT_RX_DISCARDED   185
#define IDC_STAT_RX_CORRUPTED   186
#define IDC_STAT_CPU            199
#define IDC_STAT_UPTIME         215
#define IDC_STAT_TX_NOW         209
#define IDC_STAT_TX_MAX         203
#define IDC_STAT_TX_AVG         207
#define IDC_STAT_TX_ERR         205
#define IDC_STAT_RX_NOW         210
#define IDC_STAT_RX_MAX         204
#define IDC_STAT_RX_AVG         208
#define IDC_STAT_RX_ERR         206
#define IDC_STAT_OK             100
#define IDC_STAT_HELP           101
#define IDC_STAT_RESET          189
#define IDC_STAT_UPDATE         213
#define IDC_STAT_STOP           214
// IDD_THROUGHPUT (1244) is named with the tool window's block above.
#define IDC_THRU_SENT           337
#define IDC_THRU_RECEIVED       338
#define IDC_THRU_UPTIME         343
#define IDC_THRU_CHART_FRAME    342     // the chart takes this frame's place
#define IDC_THRU_CHART          344     // the chart window itself
#define IDC_THRU_STATISTICS     277     // "N": statistics mode only
#define IDC_THRU_OK             100
#define IDC_THRU_HELP           333
#define IDI_THROUGHPUT          1273
#define IDS_RESET_STATISTICS    1212
#define IDS_THROUGHPUT_HELP_KEY 1219
#define IDS_CHART_Y_TITLE       14401
#define IDS_CHART_X_TITLE       14402
