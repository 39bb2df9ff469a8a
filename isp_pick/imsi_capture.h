// Reads the operator identity from the saved AT+CIMI dialogue.
#pragma once

/// Scans "/tmp/cimi_output" for the first line after an "AT+CIMI" line that
/// starts with a digit (after dropping a "+CIMI: " prefix) and sets `mcc` and
/// `mnc` from its first six characters. Returns 1, or -1 with both untouched.
int getplmn();
