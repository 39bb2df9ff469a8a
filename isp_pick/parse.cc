// The router's own lookup: the operator table at its fixed path, into the
// run's profile record, with the run's messages.
#include <stdio.h>
#include <string.h>

#include "identity.h"
#include "operator_table.h"
#include "run.h"

isp_profile isp_info;

static const char kTablePath[] = "/var/3.5G_Infomation.csv";
static TableReader table;

int parse() {
  fprintf(stderr, "------ searching [%s,%s] ------\n", mcc, mnc);
  LookupKey key;
  memcpy(key.mcc, mcc, sizeof key.mcc);
  memcpy(key.mnc, mnc, sizeof key.mnc);
  int piece = find_row(&table, kTablePath, key, &isp_info);
  if (piece < 0)
    fputs("error to open isp information file", stderr);
  if (piece == 0 || piece == kNoTable)
    return -1;
  if (piece < 0)
    return kUnreadable;
  print_isp_info();
  return 1;
}

void print_isp_info() {
  fputs("------ print isp information -----\n", stderr);
  fprintf(stderr,
          "INDEX:%s,MCC:%s, MNC:%s, ISP:%s, Region:%s, system:%d, APN:%s, Number:%s, USR:%s, PWD:%s \n",
          isp_info.index, isp_info.mcc, isp_info.mnc, isp_info.isp, isp_info.region,
          (int)isp_info.system, isp_info.apn, isp_info.number, isp_info.usr, isp_info.pwd);
}
