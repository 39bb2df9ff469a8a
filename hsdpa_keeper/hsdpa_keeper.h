// The 3G link keeper: runs the link script while the settings say the 3G
// link is in use.
#pragma once

constexpr int kConfValueSize = 64;

/// Returns the value of key `name` in "/var/config/SYS.info" in a newly
/// allocated kConfValueSize-byte buffer, or the empty text when the key or
/// the file is missing. Free the result with release_conf.
char *getdata_conf(const char *name);

/// Frees a value returned by getdata_conf.
void release_conf(char *value);

/// Waits `ms` milliseconds with select and returns its result.
int select_sleep(int ms);

/// True when the four settings put the 3G link in use.
bool link_in_use(int op_mode, int wan_dhcp, int wan_interface, int g_backup);
