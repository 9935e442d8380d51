// The ids of the parts bar, its menus and dialogs, beside ResourceIds.h and under its rules (the
// numbers are stored in files and the profile and never change).
#pragma once

enum : unsigned int {
    // ----- The parts bar -----
    IDD_PARTS_BAR = 209,  // also the bar's title string
    IDC_PARTS_TABS = 1191,
    IDR_PARTS_MENU = 220,
    ID_PARTS_TAB_RENAME = 32975,
    ID_PARTS_TAB_MOVE = 32976,
    ID_PARTS_TAB_DELETE = 32977,
    ID_PARTS_TAB_ADD = 32978,
    ID_PARTS_TAB_INSERT = 32979,
    ID_PARTS_RENAME = 32980,
    ID_PARTS_PROPERTIES = 32981,
    ID_PARTS_DELETE = 32982,
    IDD_PARTS_TAB_NAME = 221,
    IDC_PARTS_TAB_NAME = 1142,
    IDD_PARTS_TAB_MOVE = 222,
    IDC_PARTS_TAB_FROM = 1202,
    IDC_PARTS_TAB_TO = 1203,
    IDD_PARTS_LIST_NAME = 213,
    IDC_PARTS_LIST_NAME = 1178,
    IDC_PARTS_LIST_PARTS = 1182,
    IDC_PARTS_LIST_CHANGE = 1184,
    IDC_PARTS_LIST_DELETE = 1122,
    IDS_PARTS_ALREADY_LOADED = 62701,
    IDS_PARTS_CREATE_FAILED = 62702,
    IDS_PARTS_SAVE_FAILED = 62703,
    IDS_NAME_EMPTY = 62709,
    IDS_PARTS_TAB_DELETE_ASK = 62710,
    IDS_PARTS_DELETE_ASK = 62711,
    IDS_PARTS_SAVE_ASK = 62775,
    IDS_JWK_READ_FAILED = 62799,
};
