// Our declarations of the browser runtime's interfaces against the runtime's facts:
// every method of interfaces.tsv in its virtual-table slot with its interface's IID, and
// every value of enums.tsv. The tables are read here at run time; the declared side comes
// from abi_checks.cpp, generated from the names in the same tables.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "tests/abi/abi_checks.h"
#include "webview/abi/WebView2.h"

namespace {

using TableRow = std::map<std::string, std::string>;  // column name -> text

// The rows of a tab-separated table with a header line; fails the test when the file
// cannot be read or has no rows, so that a missing table never passes as an empty one.
std::vector<TableRow> ReadTable(const char* path) {
  std::vector<TableRow> rows;
  std::ifstream file(path);
  EXPECT_TRUE(file) << "cannot open " << path;
  std::string line;
  std::vector<std::string> columns;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
    if (columns.empty()) {
      columns = std::move(cells);
      continue;
    }
    EXPECT_EQ(cells.size(), columns.size()) << path << ": " << line;
    TableRow row;
    for (size_t i = 0; i < columns.size() && i < cells.size(); ++i) row[columns[i]] = cells[i];
    rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << path << " has no rows";
  return rows;
}

std::string IidText(const GUID& iid) {
  char text[37];
  std::snprintf(text, sizeof(text), "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", iid.Data1,
                iid.Data2, iid.Data3, iid.Data4[0], iid.Data4[1], iid.Data4[2], iid.Data4[3],
                iid.Data4[4], iid.Data4[5], iid.Data4[6], iid.Data4[7]);
  return text;
}

TEST(AbiTable, EveryMethodSitsInItsSlotOfTheInterfaceWithItsIid) {
  const std::vector<TableRow> rows = ReadTable(QUORVEL_ABI_INTERFACES_TSV);
  std::map<std::pair<std::string, std::string>, const DeclaredMethod*> declared;
  for (const DeclaredMethod& method : DeclaredMethods()) {
    declared[{std::string(method.interface_name), std::string(method.method)}] = &method;
  }
  // With the lookup of every row below, equal sizes mean that the generated list and
  // the table hold the same methods (the list is rebuilt whenever the table changes).
  EXPECT_EQ(declared.size(), rows.size());

  for (const TableRow& row : rows) {
    const std::string name = row.at("interface") + "::" + row.at("method");
    const auto found = declared.find({row.at("interface"), row.at("method")});
    if (found == declared.end()) {
      ADD_FAILURE() << name << " is in the table but was not generated";
      continue;
    }
    EXPECT_EQ(found->second->slot, std::stol(row.at("slot"))) << name;
    EXPECT_EQ(IidText(found->second->iid), row.at("iid")) << name;
  }
}

TEST(AbiTable, EveryEnumeratorHasItsValueIn32Bits) {
  const std::vector<TableRow> rows = ReadTable(QUORVEL_ABI_ENUMS_TSV);
  std::map<std::string, const DeclaredEnumerator*> declared;
  for (const DeclaredEnumerator& enumerator : DeclaredEnumerators()) {
    declared[std::string(enumerator.name)] = &enumerator;
  }
  EXPECT_EQ(declared.size(), rows.size());

  for (const TableRow& row : rows) {
    const auto found = declared.find(row.at("name"));
    if (found == declared.end()) {
      ADD_FAILURE() << row.at("name") << " is in the table but was not generated";
      continue;
    }
    const unsigned long long value = std::stoull(row.at("value"));
    ASSERT_LE(value, 0xFFFFFFFFull) << row.at("name");
    EXPECT_EQ(found->second->value, value) << row.at("name");
    EXPECT_EQ(found->second->enum_size, 4u) << row.at("enum");
  }
}

// Facts that the tables state in prose rather than in rows.
TEST(AbiTable, PlainStructuresHaveTheRuntimesLayout) {
  EXPECT_EQ(sizeof(COREWEBVIEW2_COLOR), 4u);
  EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, A), 0u);
  EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, R), 1u);
  EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, G), 2u);
  EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, B), 3u);

  EXPECT_EQ(sizeof(EventRegistrationToken), 8u);
  EXPECT_TRUE((std::is_same_v<decltype(EventRegistrationToken::value), INT64>));
}

}  // namespace
