// The operator table "/var/3.5G_Infomation.csv" and the profile it yields.
#pragma once

#include <stdint.h>

/// One connection profile. Text fields are zero-terminated.
struct isp_profile {
  char index[8];
  char mcc[5];
  char mnc[5];
  char region[64];
  char isp[64];
  int32_t system;  // 0 HSDPA, 1 CDMA2000, 2 TD-SCDMA
  char apn[64];
  char usr[70];
  char pwd[70];
  char number[16];
};

/// The profile found by the last lookup. Never cleared between rows or
/// lookups: a field keeps what the last row that reached its column wrote.
extern isp_profile isp_info;

/// Finds the first row whose MCC and MNC columns equal `mcc` and `mnc` and
/// that has all ten columns, fills `isp_info` and prints it. Returns 1, or -1
/// when no row matches or the table cannot be opened.
int parse();

/// Writes `isp_info` to standard error, password in clear.
void print_isp_info();
