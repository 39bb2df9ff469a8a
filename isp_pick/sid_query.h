// CDMA modems: the system identifier (SID) asked for with AT+CSS.
#pragma once

/// Runs `chat` to send AT+CSS to the control device named by
/// "/var/HSDPACARD" and reads the SID from "/tmp/css_output". Returns the
/// SID (0 or more), or -1 when none was found or no safe device is known.
int getsid();

/// Sets `mcc` and `mnc` from the SID table and returns 1, or returns -1 and
/// leaves them untouched for a SID that is not in the table.
int mapping(int sid);
