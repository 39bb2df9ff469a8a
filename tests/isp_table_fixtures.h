// The fixture databases of tests/isp_table, for the isp_table tests that
// link the tool's library (ISP_TABLE_FIXTURES names the folder).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources.h"

/// The fixtures `names`, loaded in order as the verbs load databases.
inline std::vector<Source> load_fixtures(const std::vector<std::string> &names) {
  std::vector<std::string> paths;
  for (const std::string &name : names)
    paths.push_back(ISP_TABLE_FIXTURES "/" + name);
  std::vector<Source> sources;
  EXPECT_TRUE(load_public_data(paths, &sources));
  return sources;
}
