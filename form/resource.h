// Resource and control ids of the calculation form and the about box.
#pragma once

enum : int {
  IDD_ABOUT = 100,
  IDS_ABOUT_ENTRY = 101,
  IDD_MAIN_FORM = 102,
  IDI_APP = 128,
  IDM_ABOUTBOX = 16,  // command id of the about entry in the system menu

  IDC_EXIT = 1000,
  IDC_CALC = 1001,
  IDC_ITEM = 1006,
  IDC_MODE = 1007,
  IDC_LABEL1 = 1008,
  IDC_INPUT1 = 1009,
  IDC_UNIT1 = 1010,
  IDC_LABEL2 = 1011,
  IDC_INPUT2 = 1012,
  IDC_UNIT2 = 1013,
  IDC_LABEL3 = 1014,
  IDC_INPUT3 = 1015,
  IDC_UNIT3 = 1016,
  IDC_PRESSURE = 1017,
  IDC_TEMPERATURE = 1018,
  IDC_ENTHALPY = 1019,
  IDC_ENTROPY = 1020,
  IDC_VOLUME = 1021,
  IDC_STATE = 1022,
  IDC_SOLUTION1 = 1023,
  IDC_SOLUTION2 = 1024,
};
