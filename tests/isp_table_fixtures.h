// The fixture databases of tests/isp_table, for the isp_table tests that
// link the tool's library (ISP_TABLE_FIXTURES names the folder).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources.h"

/// A provider database, Android's and a carrier list, empty, for a test
/// to fill in memory: providers.xml, apns.xml, carriers.textpb.
inline std::vector<Source> empty_databases() {
  std::vector<Source> sources(3);
  sources[0].path = "providers.xml";
  sources[1].path = "apns.xml";
  sources[1].android = true;
  sources[2].path = "carriers.textpb";
  sources[2].carrier_list = true;
  return sources;
}

/// The fixtures `names`, loaded in order as the verbs load databases.
inline std::vector<Source> load_fixtures(const std::vector<std::string> &names) {
  std::vector<std::string> paths;
  for (const std::string &name : names)
    paths.push_back(ISP_TABLE_FIXTURES "/" + name);
  std::vector<Source> sources;
  EXPECT_TRUE(load_public_data(paths, &sources));
  return sources;
}
