// Manifests: the SHA-256 that names inputs and tables, the kind of each
// input and what it states of itself, and a manifest read back or refused.
// Hashes are the published test vectors; every other value is worked out
// by hand from the bytes each case gives.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "digest.h"
#include "input.h"
#include "manifest.h"

namespace {

TEST(Sha256, GivesThePublishedVectors) {
  const struct {
    std::string bytes, hex;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.hex, sha256_hex(c.bytes)) << c.bytes.size() << " bytes";
}

TEST(Manifest, NamesEachKindOfInput) {
  const struct {
    bool android, generated, carrier_list;
    const char *kind;
  } cases[] = {
      {false, false, false, kProviderKind},
      {true, false, false, kAndroidKind},
      {true, true, false, kAndroidKind},  // Debian's, made from the provider database
      {false, false, true, kCarrierListKind},
  };
  for (const auto &c : cases) {
    Source s;
    s.android = c.android;
    s.generated = c.generated;
    s.carrier_list = c.carrier_list;
    EXPECT_STREQ(c.kind, source_kind(s));
  }
}

TEST(Manifest, SaysWhatADatabaseStatesOfItself) {
  const struct {
    std::string bytes;
    long carrier_list_version;  // -2: XML, not a carrier list
    bool generated;
    InputStates states;
  } cases[] = {
      {"<serviceproviders format=\"2.0\"/>", -2, false, {{"format", "2.0"}}},
      // The XML declaration's version is XML's, not the file's.
      {"<?xml version=\"1.0\"?><apns version=\"8\"/>", -2, false, {{"version", "8"}}},
      {"<!-- release 20230416 --><serviceproviders/>", -2, false, {{"date", "2023-04-16"}}},
      {"<!-- none --><!-- 2024-10-18, 2025-01-01 --><apns/>", -2, false, {{"date", "2024-10-18"}}},
      // Years, a number of eight digits that is no date, a date inside the root.
      {"<!-- (c) 2016-2024 --><!-- 12345678 --><apns><!-- 2024-10-18 --></apns>", -2, false, {}},
      {"<!-- 220230416 --><apns/>", -2, false, {}},
      {"<!-- generated from serviceproviders.xml --><apns version=\"8\"/>", -2, true,
       {{"version", "8"}, {"generated from", "serviceproviders.xml"}}},
      {"version: 7", 7, false, {{"version", "7"}}},
      {"carrier_id {}", -1, false, {}},
  };
  for (const auto &c : cases) {
    Source s;
    s.carrier_list = c.carrier_list_version != -2;
    s.carriers.version = c.carrier_list_version;
    s.generated = c.generated;
    EXPECT_EQ(c.states, database_states(s, c.bytes)) << c.bytes;
  }
}

TEST(Manifest, CountsATablesRowsAfterItsHeader) {
  const struct {
    std::string bytes;
    size_t rows;
  } cases[] = {{"", 0}, {"h\r\n", 0}, {"h\r\nr1\r\nr2\r\n", 2}, {"h\nr1\nr2", 2}};
  for (const auto &c : cases) {
    ManifestTable t = table_digest(c.bytes);
    EXPECT_EQ(c.rows, t.rows) << c.bytes;
    EXPECT_EQ(c.bytes.size(), t.size);
  }
}

TEST(Manifest, HashesAKeptTableByEveryByteOfItsFile) {
  const char *path = ISP_TABLE_FIXTURES "/hand_kept.csv";
  Table table;
  ASSERT_TRUE(load_table(path, &table));
  std::string bytes, why;
  ASSERT_TRUE(read_regular(path, &bytes, &why));
  ManifestInput in = kept_table_input("hand_kept.csv", table);
  EXPECT_EQ(kKeptTableKind, in.kind);
  EXPECT_EQ(bytes.size(), in.size);
  EXPECT_EQ(sha256_hex(bytes), in.sha256);
}

const std::string kHash(64, 'a');

Manifest extend_manifest() {
  Manifest m;
  m.version = "1.4.1";
  m.verb = "extend";
  m.only_given = true;
  m.only = "de,404";
  m.inputs = {{"my_table.csv", kKeptTableKind, 10, kHash, {}},
              {"serviceproviders.xml", kProviderKind, 20, std::string(64, 'b'),
               {{"format", "2.0"}}}};
  m.table = {30, std::string(64, 'c'), 2};
  return m;
}

TEST(Manifest, ReadsBackWhatItWrote) {
  Manifest m = extend_manifest(), back;
  std::string why;
  ASSERT_TRUE(read_manifest(manifest_json(m).dump(), &back, &why)) << why;
  EXPECT_EQ(ISP_TABLE_VERSION, back.version);  // json_report's, not the struct's
  EXPECT_EQ("extend", back.verb);
  EXPECT_TRUE(back.only_given);
  EXPECT_EQ("de,404", back.only);
  ASSERT_EQ(2u, back.inputs.size());
  EXPECT_EQ("serviceproviders.xml", back.inputs[1].path);
  EXPECT_EQ(kProviderKind, back.inputs[1].kind);
  EXPECT_EQ(20u, back.inputs[1].size);
  EXPECT_EQ(std::string(64, 'b'), back.inputs[1].sha256);
  EXPECT_EQ((InputStates{{"format", "2.0"}}), back.inputs[1].states);
  EXPECT_EQ(30u, back.table.size);
  EXPECT_EQ(std::string(64, 'c'), back.table.sha256);
  EXPECT_EQ(2u, back.table.rows);
  Json doc = manifest_json(m);
  doc["options"]["only"] = nullptr;
  ASSERT_TRUE(read_manifest(doc.dump(), &back, &why)) << why;
  EXPECT_FALSE(back.only_given);
}

TEST(Manifest, RefusesWhatIsNotOneOfOurs) {
  const struct {
    std::function<void(Json *)> spoil;
    const char *why;
  } cases[] = {
      {[](Json *d) { *d = Json::array(); }, "not a JSON object"},
      {[](Json *d) { (*d)["tool"] = "other"; }, "written by \"other\", not isp_table"},
      {[](Json *d) { d->erase("tool"); }, "tool is missing"},
      {[](Json *d) { (*d)["report"] = "check"; }, "an isp_table check report, not a manifest"},
      {[](Json *d) { (*d)["schema"] = 2; }, "of layout 2, this release reads 1"},
      {[](Json *d) { (*d)["verb"] = "diff"; }, "verb \"diff\" is not generate or extend"},
      {[](Json *d) { (*d)["options"]["only"] = 5; }, "options.only is not a string or null"},
      {[](Json *d) { (*d)["inputs"] = Json::array(); }, "inputs is empty"},
      {[](Json *d) { (*d)["inputs"][1]["sha256"] = std::string(64, 'B'); },
       "inputs[1].sha256 is not 64 lower-case hex digits"},
      {[](Json *d) { (*d)["inputs"][1]["size"] = -1; }, "inputs[1].size is not a whole number"},
      {[](Json *d) { (*d)["inputs"][1]["kind"] = "spreadsheet"; },
       "inputs[1].kind \"spreadsheet\" is unknown"},
      {[](Json *d) { (*d)["inputs"][1]["states"]["format"] = 2; },
       "inputs[1].states.format is not a string"},
      {[](Json *d) { (*d)["inputs"][0]["kind"] = kProviderKind; },
       "extend's first input is not its kept table"},
      {[](Json *d) { (*d)["verb"] = "generate"; }, "inputs[0] is a kept table"},
      {[](Json *d) { d->erase("table"); }, "table is missing"},
      {[](Json *d) { (*d)["table"]["rows"] = "2"; }, "table.rows is not a whole number"},
  };
  for (const auto &c : cases) {
    Json doc = manifest_json(extend_manifest());
    c.spoil(&doc);
    Manifest m;
    std::string why;
    EXPECT_FALSE(read_manifest(doc.dump(), &m, &why)) << c.why;
    EXPECT_EQ(c.why, why);
  }
  std::string why;
  Manifest m;
  EXPECT_FALSE(read_manifest("isp_table,262,01", &m, &why));
  EXPECT_EQ("not JSON", why);
}

}  // namespace
