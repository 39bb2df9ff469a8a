// isp_table explain FILE... --key MCC-MNC: why the generated table holds
// the row it holds for one lookup key.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "sources.h"

/// Reads "262-01", "262,01" or "26201"-style text (MCC, then an MNC of
/// two or three digits) into `id`; false when it is none.
bool read_network_id(const std::string &text, NetworkId *id);

/// Explains the row of the key that network `id` is looked up by, as the
/// merge of `sources` ranks it: every candidate APN by operator, who lists
/// it and where (FILE:LINE), each sign's count, the operator the carrier
/// identity database names, the listings left out and why, the sign that
/// decided, and the row. Returns whether the key has a row.
bool explain_key(const std::vector<Source> &sources, const NetworkId &id, FILE *out);
