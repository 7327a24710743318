// resource.h - every resource ID of the program, named once (the framework
// names the IDs of its own texts in framework/FrameworkIds.h).
#pragma once

#include "framework/FrameworkIds.h"

// A table: one ID a line, its number in a column of its own.
// clang-format off

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

// ---------------------------------------------------------------------------
// Configuration page and Advanced Configuration dialog (res/conf.rc)
#define IDD_CONFIGURATION       300
#define IDD_ADVANCED_CONFIG     1242
#define IDC_CONF_NETWORK_TYPE   296
#define IDC_CONF_COMPUTER_NAME  345
#define IDC_CONF_DOMAIN_NAME    133
#define IDC_CONF_CARRIER_SET    134
#define IDC_CONF_ROAMING        151
#define IDC_CONF_SECURITY_ID    370
#define IDC_CONF_SECURITY       371
#define IDC_CONF_ADVANCED       298
#define IDC_ADV_DATA_RATE       334
#define IDC_ADV_BSSID           268
#define IDC_ADV_RETRY           152
#define IDC_ADV_RETRY_SPIN      377
#define IDC_ADV_SENSITIVITY     297
#define IDC_ADV_POWER_SAVING    150
#define IDC_ADV_OK              100
#define IDC_ADV_CANCEL          102
#define IDM_CONF_HELP           57670   // the Help command a page answers
#define IDS_CONF_NO_DOMAIN      1126
#define IDS_CONF_RESTART        1127
#define IDS_CONF_TRUNCATED      1134
#define IDS_CONF_HELP_KEY       1210    // "Configuration"
#define IDS_CONF_NO_COMPUTER    57354
#define IDS_CONF_ADHOC          3401    // network type list
#define IDS_CONF_RATE_AUTO      3402    // data rate list
#define IDS_CONF_RATE_ONE       3403
#define IDS_CONF_BAD_BSSID      3404
#define IDS_CONF_ERR_TOKEN      3405
#define IDS_CONF_ERR_PRIVILEGE  3406
#define IDS_CONF_DOMAIN_LONG    3407    // an edited text longer than its field
#define IDS_CONF_COMPUTER_LONG  3408
#define IDS_CONF_SECURITY_LONG  3409
#define IDS_CONF_NOT_SAVED      3410
#define IDS_CONF_PART_SAVED     3411    // some settings saved, some not
// The settings by name, as messages and the link history name them.
#define IDS_SETTING_NETWORK_TYPE  3430
#define IDS_SETTING_ESSID         3431
#define IDS_SETTING_CARRIER_SET   3432
#define IDS_SETTING_ROAMING       3433
#define IDS_SETTING_SECURITY      3434
#define IDS_SETTING_SECURITY_ID   3435
#define IDS_SETTING_COMPUTER_NAME 3436
#define IDS_SETTING_DATA_RATE     3437
#define IDS_SETTING_RETRY_LIMIT   3438
#define IDS_SETTING_SENSITIVITY   3439
#define IDS_SETTING_POWER_SAVING  3440
#define IDS_SETTING_PREFERRED_AP  3441

// Property sheet: Advanced Information and Troubleshooting pages (res/sheet.rc)
#define IDD_ADVANCED_INFO           100
#define IDD_HW_CONFIG               201
#define IDC_INFO_MANUFACTURER       110
#define IDC_INFO_IRQ                111
#define IDC_INFO_STATION_ADDRESS    112
#define IDC_INFO_IO_RANGE           113
#define IDC_INFO_BUS_TYPE           114
#define IDC_INFO_FIRMWARE           116
#define IDC_INFO_STATUS             356
#define IDC_REPORT                  202
#define IDC_COPY_REPORT             355
#define IDC_SUPPORT_LINK_US         363
#define IDC_SUPPORT_LINK            364
#define IDS_ADVANCED_INFORMATION    1206
#define IDS_TROUBLESHOOTING         1216
#define IDS_WORKING_PROPERLY        57360
#define IDS_SUPPORT_TARGET_US       57610
#define IDS_SUPPORT_TARGET          57611
#define IDS_ADAPTER_DISABLED        57612
#define IDS_CONNECTED_AP            57613
#define IDS_DRIVER_LOG_UNREADABLE   3420
#define IDS_DRIVER_LOG_CUT          3421

// Framework: the data exchange's messages and help's failure are named in
// the framework's own header, their texts are in res/framework.rc.

// Tool window: the tray tip of an adapter that is not working, the first tip,
// the tray and status boxes, the About box's version line (res/app.rc)
#define IDS_TIP_NOT_WORKING     61714
#define IDS_NO_TRAY_ICON        61715
#define IDS_ADAPTER_CODE        61716   // the status box: "... (Code %d)"
#define IDS_FIRST_TIP           61717
#define IDS_ABOUT_VERSION       61718   // "Version " before the file version

// Port access and discovery reports (res/corvane.rc)
#define IDS_PORT_NO_DEVICE      61720
#define IDS_PORT_CLOSE_FAILED   61721
#define IDS_PORT_READ_FAILED    61722   // "... %x" the absolute port
#define IDS_PORT_WRITE_FAILED   61723
#define IDS_PORT_IOCTL_FAILED   61724
#define IDS_NO_VERSION_EX       61725
#define IDS_NO_NT5              61726
#define IDS_REG_OPEN_FAILED     61727
#define IDS_REG_QUERY_FAILED    61728
#define IDS_REG_ENUM_VALUE_FAILED 61729
#define IDS_REG_ENUM_KEY_FAILED 61730
#define IDS_REGISTRY_ERROR      61731   // caption
#define IDS_REGISTRY_ERROR_CODE 61732   // "... %ld" when the system has no text

// Layout reports and the progress window (res/widgets.rc)
#define IDS_ASSERTION_FAILED    61740
#define IDS_LAYOUT_UNABLE       61741
#define IDS_LAYOUT_NOT_FOUND    61742   // "... %s of id=%d"
#define IDS_LAYOUT_CENTRING     61743
#define IDS_LAYOUT_BAD_ACTION   61744
#define IDS_LAYOUT_BAD_SIDE     61745
#define IDS_LAYOUT_BAD_METRIC   61746
#define IDS_LAYOUT_NO_CHILD     61747
#define IDS_PROGRESS_CANCEL     61748

// The hyperlink label's failure box: its head and the shell's error texts
#define IDS_LINK_UNABLE         61750
#define IDS_SHELL_UNKNOWN       61751
#define IDS_SHELL_NO_MEMORY     61752
#define IDS_SHELL_FILE_NOT_FOUND 61753
#define IDS_SHELL_PATH_NOT_FOUND 61754
#define IDS_SHELL_ACCESS_DENIED 61755
#define IDS_SHELL_OUT_OF_MEMORY 61756
#define IDS_SHELL_BAD_FORMAT    61757
#define IDS_SHELL_SHARE         61758
#define IDS_SHELL_ASSOC_INCOMPLETE 61759
#define IDS_SHELL_DDE_TIMEOUT   61760
#define IDS_SHELL_DDE_FAIL      61761
#define IDS_SHELL_DDE_BUSY      61762
#define IDS_SHELL_NO_ASSOC      61763
#define IDS_SHELL_DLL_NOT_FOUND 61764
// ---------------------------------------------------------------------------
// Network Watchers (res/watch.rc): templates IDD_BSS_WATCH (650) and
// IDD_STATION_WATCH (1246) are named above. The wait cursor is the named
// resource "WAIT_M"; the accelerators are table IDR_ACCELERATORS.
#define IDI_WATCHER             1271
#define IDC_WATCH_OK            100
#define IDC_WATCH_HELP          101
#define IDC_WATCH_CANCEL        102
#define IDC_BSS_LIST            220
#define IDC_BSS_SCAN            221
#define IDC_BSS_JOIN            222
#define IDC_STATION_LIST        284
#define IDC_STATION_REFRESH     286
#define IDS_COL_AP_NAME         1138
#define IDS_COL_STATIONS        1139
#define IDS_COL_ADDRESS         1201
#define IDS_COL_SIGNAL          1203
#define IDS_COL_DOMAIN          1204
#define IDS_COL_STATE           1205
#define IDS_COL_COMPUTER_NAME   57347
#define IDS_COL_NODE_ADDRESS    57348
#define IDS_COL_INACTIVE_TIME   57349
#define IDS_CONNECTIONS_TO      57350
#define IDS_COL_SECURE          57355
#define IDS_ADVANCED_CAPTION    58100   // "%s (Advanced)"
#define IDS_BSS_PROGRESS        58101
#define IDS_STATION_PROGRESS    58102
#define IDS_INACTIVE_UNKNOWN    58103   // "not available"
#define IDS_NO_STATION_NAME     58104   // "(null)"
#define IDS_STATION_CAPTION     58105   // "%s - %d %s%s"
#define IDS_SCAN_NOT_STARTED    58106

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
#define IDS_CHART_DEFAULT_Y     14403   // the line chart's titles until set
#define IDS_CHART_DEFAULT_X     14404
#define IDS_RESET_BUSY          14405   // Reset confirmed while another poll holds the card

// Network profiles (res/profiles.rc): the notification icon menu's
// "Profiles" popup and its commands, the Network Profiles and Profile Name
// dialogs and their texts
#define IDM_PROFILES_SAVE_AS    40021
#define IDM_PROFILES_MANAGE     40022
#define IDM_PROFILES_NONE       40023   // "(No profiles)", never enabled
#define IDM_PROFILE_FIRST       40100   // the n-th profile of the popup
#define IDM_PROFILE_LAST        40115
#define IDD_PROFILES            5100
#define IDC_PROFILES_LABEL      5101
#define IDC_PROFILES_LIST       5102
#define IDC_PROFILES_APPLY      5103
#define IDC_PROFILES_NEW        5104
#define IDC_PROFILES_RENAME     5105
#define IDC_PROFILES_DELETE     5106
#define IDC_PROFILES_HELP       5107
#define IDD_PROFILE_NAME        5110
#define IDC_PROFILE_NAME        5111
#define IDS_PROFILES_MENU       5130
#define IDS_PROFILE_DAMAGED_ITEM 5131   // " (damaged)" after a menu item's name
#define IDS_PROFILES_NONE       5132
#define IDS_PROFILES_SAVE_AS    5133
#define IDS_PROFILES_MANAGE     5134
#define IDS_PROFILES_COL_NAME   5135
#define IDS_PROFILES_COL_NETWORK 5136
#define IDS_PROFILES_COL_STATE  5137
#define IDS_PROFILE_IN_FORCE    5138
#define IDS_PROFILE_DAMAGED     5139    // "Damaged: %1" with the reason
#define IDS_PROFILE_MISSING     5140    // "%1 is missing" with the setting's name
#define IDS_PROFILE_INVALID     5141
#define IDS_PROFILES_CAPTION    5142
#define IDS_PROFILE_NO_NAME     5143
#define IDS_PROFILE_BAD_NAME    5144
#define IDS_PROFILE_NAME_TAKEN  5145
#define IDS_PROFILES_FULL       5146
#define IDS_PROFILE_DELETE_ASK  5147
#define IDS_PROFILE_DAMAGED_REFUSED 5148
#define IDS_PROFILE_SHEET_OPEN  5149
#define IDS_PROFILE_NOT_STORED  5150
#define IDS_PROFILES_FULL_PREVIOUS 5151
#define IDS_PROFILE_PREVIOUS    5152    // the name of the settings kept before an Apply
#define IDS_PROFILES_HELP_KEY   5153
#define IDS_PROFILE_NETWORK     5154    // "%1, %2": the ESSID and the network type
// Link History and the site survey log (res/history.rc)
#define IDD_LINK_HISTORY        5000
#define IDC_HISTORY_SPAN_LABEL  5001
#define IDC_HISTORY_SPAN        5002
#define IDC_HISTORY_CHART_FRAME 5003    // the chart takes this frame's place
#define IDC_HISTORY_EVENTS_LABEL 5004
#define IDC_HISTORY_EVENTS      5005
#define IDC_HISTORY_COPY        5006
#define IDC_HISTORY_CLEAR       5007
#define IDC_HISTORY_STATE       5008    // the survey log's state line
#define IDC_HISTORY_RECORD      5009
#define IDC_HISTORY_MARK        5010
#define IDC_HISTORY_STOP        5011
#define IDC_HISTORY_HELP        5012
#define IDC_HISTORY_CHART       5013    // the chart window itself
#define IDD_SURVEY_MARK         5020
#define IDC_SURVEY_MARK_TEXT    5021
#define IDS_SPAN_10_MINUTES     5030    // the spans, in the order of the list
#define IDS_SPAN_HOUR           5031
#define IDS_SPAN_DAY            5032
#define IDS_HISTORY_COL_TIME    5033
#define IDS_HISTORY_COL_EVENT   5034
#define IDS_SURVEY_NOT_RECORDING 5035
#define IDS_SURVEY_RECORDING    5036    // "... %1" the file
#define IDS_SURVEY_MARK_STATE   5037    // "... %1" the mark
#define IDS_HISTORY_Y_TITLE     5038
#define IDS_HISTORY_X_TITLE     5039    // "... %1" the span
#define IDS_EVENT_BAND_GOOD     5040    // the events' texts, in the order of
#define IDS_EVENT_BAND_FAIR     5041    // HistoryEventKind (adapter/LinkHistory.h):
#define IDS_EVENT_BAND_POOR     5042    // %1 and %2 the event's texts, %n its number
#define IDS_EVENT_NO_CONNECTION 5043
#define IDS_EVENT_ALERT         5044
#define IDS_EVENT_CARD_SILENT   5045
#define IDS_EVENT_DRIVER_BOX    5046
#define IDS_EVENT_ADAPTER_FAILED 5047
#define IDS_EVENT_SCAN_STARTED  5048
#define IDS_EVENT_SCAN_FINISHED 5049
#define IDS_EVENT_JOIN          5050
#define IDS_EVENT_SETTINGS      5051
#define IDS_EVENT_CELL          5052
#define IDS_EVENT_LOG_STARTED   5053
#define IDS_EVENT_LOG_MARK      5054
#define IDS_EVENT_LOG_STOPPED   5055
#define IDS_EVENT_LOG_FAILED    5056
#define IDS_SURVEY_FILTER       5057    // pairs of the Save dialog, '|' between
#define IDS_SURVEY_EXISTS       5058
#define IDS_LINK_HISTORY        5059    // caption of the survey log's boxes
#define IDS_SURVEY_WRITE_FAILED 5060
#define IDS_HISTORY_HELP_KEY    5061
#define IDS_SYSTEM_ERROR_CODE   5062    // "... %1" an error the system has no text for
#define IDS_SPAN_START_10_MINUTES 5063  // under the chart's left end, one a span
#define IDS_SPAN_START_HOUR     5064
#define IDS_SPAN_START_DAY      5065
#define IDS_SPAN_END            5066    // under its right end: the newest sample
#define IDS_SURVEY_NO_FILE      5067    // "... %1" the dialog's error, in hexadecimal
#define IDI_LINK_HISTORY        5090
#define IDM_LINK_HISTORY        40020   // the notification icon's menu
// clang-format on
