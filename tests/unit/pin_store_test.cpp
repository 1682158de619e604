#include "net/pin_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

std::u16string ScopeFound(const PinStore& store, std::u16string_view host) {
  const std::optional<PinEntry> entry = store.Find(host);
  return entry ? entry->scope : u"(none)";
}

TEST(PinStoreFind, ExactScopeThenLongestParentDomain) {
  PinStore store;
  store.Replace({{u"Example.test", {"a"}},
                 {u"api.example.test", {"b"}},
                 {u"example.test", {"c"}},
                 {u"deep.api.example.test", {"d"}}});
  EXPECT_EQ(ScopeFound(store, u"EXAMPLE.test"), u"Example.test");      // first exact match
  EXPECT_EQ(ScopeFound(store, u"www.example.test"), u"Example.test");  // earlier of equal length
  EXPECT_EQ(ScopeFound(store, u"x.api.example.test"), u"api.example.test");
  EXPECT_EQ(ScopeFound(store, u"x.deep.api.example.test"), u"deep.api.example.test");
  EXPECT_EQ(ScopeFound(store, u"badexample.test"), u"(none)");  // no dot before the scope
  EXPECT_EQ(ScopeFound(store, u"example.test.evil"), u"(none)");
  EXPECT_EQ(ScopeFound(store, u""), u"(none)");
  EXPECT_EQ(store.Find(u"api.example.test")->pins, std::vector<std::string>{"b"});
}

TEST(PinStoreFind, ReplaceSwapsTheWholeTable) {
  PinStore store;
  EXPECT_FALSE(store.Find(u"example.test"));
  store.Replace({{u"example.test", {"a"}}});
  store.Replace({{u"other.test", {"b"}}});
  EXPECT_FALSE(store.Find(u"example.test"));
  EXPECT_TRUE(store.Find(u"other.test"));
}

TEST(PinStoreFind, ReadersAndAWriterRunTogether) {
  PinStore store;
  store.Replace({{u"example.test", {"a"}}});
  std::atomic<bool> stop{false};
  std::atomic<int> misses{0};
  std::thread reader([&] {
    while (!stop) {
      if (!store.Find(u"www.example.test")) ++misses;
    }
  });
  for (int i = 0; i < 2000; ++i) {
    store.Replace({{u"example.test", {std::to_string(i)}}, {u"x.test", {"x"}}});
  }
  stop = true;
  reader.join();
  EXPECT_EQ(misses, 0);
}

TEST(ReadPinList, TakesWellFormedEntriesInOrder) {
  const std::string pin(44, 'A');
  const auto list = ReadPinList(R"([
      {"scope":"api.example.test","pins":["sha256/)" +
                                pin + R"(","plain",5,null,"sha256/"]},
      {"scope":"empty.test","pins":[]},
      {"scope":"nopins.test"},
      {"pins":["x"]},
      "not an object",
      {"scope":"\u0645.test","pins":"not an array"},
      {"scope":"second.test","pins":["p"],"extra":true}])");
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 2u);
  EXPECT_EQ((*list)[0].scope, u"api.example.test");
  EXPECT_EQ((*list)[0].pins, (std::vector<std::string>{pin, "plain", "sha256/"}));
  EXPECT_EQ((*list)[1].scope, u"second.test");
}

TEST(ReadPinList, RefusesAnswersThatAreNotAList) {
  for (const char* body : {"", "{}", "null", "not json", "[{\"scope\":1,\"pins\":[\"a\"]}]",
                           "[{\"scope\":null,\"pins\":[]}]"}) {
    EXPECT_FALSE(ReadPinList(body)) << body;
  }
  EXPECT_EQ(ReadPinList("[]")->size(), 0u);
}

}  // namespace
