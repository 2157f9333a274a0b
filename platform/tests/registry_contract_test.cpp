// The registry contract: the memory registry must behave as the real one.
// The same cases run on the memory registry in both trees and on the real
// registry under Wine, inside a scratch key that each test removes again.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>

#include "platform/memory/memory_registry.h"
#include "platform/registry.h"
#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#endif

using namespace port;

namespace {

// Where Wine and XP differ, the memory registry follows XP:
// - Enumeration order: Windows XP sorts subkeys by their upper-case names and
//   lists values in the order they were made; Wine sorts both by their
//   lower-case names.
// - A REG_SZ stored without its terminating NUL: XP keeps the bytes exactly,
//   as 32-bit Wine does; 64-bit Wine stores the text with a NUL added.
struct MemoryPort {
  static std::unique_ptr<Registry> Make() { return std::make_unique<MemoryRegistry>(); }
  static constexpr bool kXpOrder = true;
  static constexpr bool kMayTerminateSz = false;
};

#ifdef _WIN32
struct Win32Port {
  static std::unique_ptr<Registry> Make() { return std::make_unique<Win32Registry>(); }
  static constexpr bool kXpOrder = false;
  static constexpr bool kMayTerminateSz = true;
};
using Ports = ::testing::Types<MemoryPort, Win32Port>;
#else
using Ports = ::testing::Types<MemoryPort>;
#endif

std::string ScratchName() {
  std::mt19937 gen(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::string name = "T";
  name += std::to_string(gen());
  return name;
}

std::vector<uint8_t> Utf16Bytes(const std::u16string& s) {
  std::vector<uint8_t> b;
  for (char16_t c : s) {
    b.push_back(static_cast<uint8_t>(c & 0xFF));
    b.push_back(static_cast<uint8_t>(c >> 8));
  }
  return b;
}

// Removes a key with everything below it, deepest first.
void RemoveTree(Registry& reg, Root root, const std::string& path) {
  KeyHandle k = reg.Open(root, path, kKeyAllAccess);
  if (k == 0) return;
  std::vector<std::string> subs = reg.SubKeys(k);
  reg.Close(k);
  for (const std::string& s : subs) RemoveTree(reg, root, path + "\\" + s);
  reg.DeleteKey(root, path);
}

template <typename P>
class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    reg = P::Make();
    base = "Software\\SuiteTest\\" + ScratchName();
  }
  void TearDown() override {
    RemoveTree(*reg, Root::HKCU, base);
    reg->DeleteKey(Root::HKCU, "Software\\SuiteTest");  // only once no other test's key is left
    RemoveTree(*reg, Root::HKLM, "Software\\Classes\\" + classes);
  }
  KeyHandle Make(const std::string& sub) {
    KeyHandle k = reg->Create(Root::HKCU, base + sub);
    EXPECT_NE(k, 0u) << sub;
    return k;
  }
  std::unique_ptr<Registry> reg;
  std::string base;
  std::string classes = "SuiteTest" + ScratchName();
};

TYPED_TEST_SUITE(RegistryContract, Ports);

TYPED_TEST(RegistryContract, CreateOpenAndCloseKeys) {
  auto& reg = *this->reg;
  EXPECT_EQ(reg.Open(Root::HKCU, this->base, kKeyReadTest), 0u) << "a missing key opens as 0";
  KeyHandle made = this->Make("\\Deep\\Er");  // makes the keys between too
  reg.Close(made);
  for (uint32_t access : {kKeyReadTest, kKeyAllAccess}) {
    KeyHandle k = reg.Open(Root::HKCU, this->base + "\\Deep\\Er", access);
    EXPECT_NE(k, 0u) << access;
    reg.Close(k);
  }
  KeyHandle again = reg.Create(Root::HKCU, this->base + "\\Deep");  // an existing key opens
  EXPECT_NE(again, 0u);
  EXPECT_EQ(reg.SubKeys(again), std::vector<std::string>{"Er"});
  reg.Close(again);
}

TYPED_TEST(RegistryContract, ValuesKeepTypeAndBytesExactly) {
  auto& reg = *this->reg;
  const std::vector<std::pair<std::string, RegValue>> cases = {
      {"sz", RegValue::Text("Text \xC3\xBC \xE6\x97\xA5\xE6\x9C\xAC")},
      {"", RegValue::Text("the default value")},
      {"empty", RegValue::Text("")},
      {"expand", RegValue::Text("%SystemRoot%\\system32", kRegExpandSz)},
      {"dword", RegValue::Dword(0xDEADBEEF)},
      {"binary", RegValue::Binary({0, 1, 2, 0xFF, 0x80})},
      {"nobytes", RegValue::Binary({})},
      {"multi", RegValue{kRegMultiSz, Utf16Bytes(std::u16string(u"one\0two\0\0", 9))}},
      {"none", RegValue{kRegNone, {7, 8, 9}}},
      {"qword", RegValue{11, {1, 2, 3, 4, 5, 6, 7, 8}}},
      {"sz without NUL", RegValue{kRegSz, Utf16Bytes(u"abc")}},
  };
  KeyHandle k = this->Make("");
  for (const auto& [name, value] : cases) EXPECT_TRUE(reg.Set(k, name, value)) << name;
  reg.Close(k);
  k = reg.Open(Root::HKCU, this->base, kKeyAllAccess);
  for (const auto& [name, value] : cases) {
    auto got = reg.Query(k, name);
    ASSERT_TRUE(got) << name;
    EXPECT_EQ(got->type, value.type) << name;
    std::vector<uint8_t> terminated = value.data;
    terminated.insert(terminated.end(), {0, 0});
    if (TypeParam::kMayTerminateSz && name == "sz without NUL" && got->data == terminated) continue;
    EXPECT_EQ(got->data, value.data) << name;
  }
  EXPECT_EQ(reg.Query(k, "sz")->TextOf(), "Text \xC3\xBC \xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_FALSE(reg.Query(k, "missing"));
  reg.Close(k);
}

TYPED_TEST(RegistryContract, NamesCompareWithoutCase) {
  auto& reg = *this->reg;
  KeyHandle k = this->Make("\\MixedCase");
  ASSERT_TRUE(reg.Set(k, "Value", RegValue::Dword(1)));
  ASSERT_TRUE(reg.Set(k, "VALUE", RegValue::Dword(2)));  // the same value, keeps its spelling
  ASSERT_TRUE(reg.Set(k, "\xC3\xA9t\xC3\xA9", RegValue::Dword(3)));  // été
  EXPECT_EQ(reg.Query(k, "vAlUe"), RegValue::Dword(2));
  EXPECT_EQ(reg.Query(k, "\xC3\x89T\xC3\x89"), RegValue::Dword(3));  // ÉTÉ
  std::vector<std::string> names = reg.ValueNames(k);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Value", "\xC3\xA9t\xC3\xA9"}));
  reg.Close(k);
  KeyHandle upper = reg.Open(Root::HKCU, this->base + "\\MIXEDCASE", kKeyAllAccess);
  EXPECT_NE(upper, 0u);
  reg.Close(upper);
  KeyHandle parent = reg.Open(Root::HKCU, this->base, kKeyReadTest);
  EXPECT_EQ(reg.SubKeys(parent), std::vector<std::string>{"MixedCase"});
  reg.Close(parent);
}

TYPED_TEST(RegistryContract, EnumerationOrderSortedSubkeysAndXpCreationOrderOfValuesWineSortsValues) {
  auto& reg = *this->reg;
  for (const char* sub : {"b", "A", "c", "_x"}) reg.Close(this->Make(std::string("\\") + sub));
  KeyHandle k = this->Make("");
  for (const char* name : {"b", "A", "c", "_x"}) ASSERT_TRUE(reg.Set(k, name, RegValue::Dword(0)));
  using Names = std::vector<std::string>;
  if (TypeParam::kXpOrder) {
    EXPECT_EQ(reg.SubKeys(k), (Names{"A", "b", "c", "_x"}));  // '_' sorts after the upper-case letters
    EXPECT_EQ(reg.ValueNames(k), (Names{"b", "A", "c", "_x"}));
    ASSERT_TRUE(reg.DeleteValue(k, "b"));
    ASSERT_TRUE(reg.Set(k, "b", RegValue::Dword(1)));
    EXPECT_EQ(reg.ValueNames(k), (Names{"A", "c", "_x", "b"})) << "a value made again comes last";
  } else {
    EXPECT_EQ(reg.SubKeys(k), (Names{"_x", "A", "b", "c"}));  // Wine: '_' before the lower-case letters
    EXPECT_EQ(reg.ValueNames(k), (Names{"_x", "A", "b", "c"}));
  }
  reg.Close(k);
}

TYPED_TEST(RegistryContract, DeleteValue) {
  auto& reg = *this->reg;
  KeyHandle k = this->Make("");
  ASSERT_TRUE(reg.Set(k, "gone", RegValue::Text("x")));
  ASSERT_TRUE(reg.Set(k, "kept", RegValue::Text("y")));
  EXPECT_TRUE(reg.DeleteValue(k, "GONE"));
  EXPECT_FALSE(reg.Query(k, "gone"));
  EXPECT_FALSE(reg.DeleteValue(k, "gone")) << "a missing value";
  EXPECT_EQ(reg.ValueNames(k), std::vector<std::string>{"kept"});
  reg.Close(k);
}

TYPED_TEST(RegistryContract, DeleteKeyOnlyWithoutSubkeys) {
  auto& reg = *this->reg;
  reg.Close(this->Make("\\Parent\\Child"));
  EXPECT_FALSE(reg.DeleteKey(Root::HKCU, this->base + "\\Parent")) << "has a subkey";
  KeyHandle still = reg.Open(Root::HKCU, this->base + "\\Parent\\Child", kKeyReadTest);
  EXPECT_NE(still, 0u);
  reg.Close(still);
  EXPECT_TRUE(reg.DeleteKey(Root::HKCU, this->base + "\\parent\\CHILD"));
  EXPECT_TRUE(reg.DeleteKey(Root::HKCU, this->base + "\\Parent"));
  EXPECT_EQ(reg.Open(Root::HKCU, this->base + "\\Parent", kKeyReadTest), 0u);
  EXPECT_FALSE(reg.DeleteKey(Root::HKCU, this->base + "\\Parent")) << "a missing key";
}

TYPED_TEST(RegistryContract, ReadOnlyHandleRefusesWrites) {
  auto& reg = *this->reg;
  KeyHandle k = this->Make("");
  ASSERT_TRUE(reg.Set(k, "v", RegValue::Dword(1)));
  reg.Close(k);
  KeyHandle ro = reg.Open(Root::HKCU, this->base, kKeyReadTest);
  ASSERT_NE(ro, 0u);
  EXPECT_FALSE(reg.Set(ro, "v", RegValue::Dword(2)));
  EXPECT_FALSE(reg.DeleteValue(ro, "v"));
  EXPECT_EQ(reg.Query(ro, "v"), RegValue::Dword(1));
  reg.Close(ro);
}

TYPED_TEST(RegistryContract, HandleOfDeletedKeyFindsNothing) {
  auto& reg = *this->reg;
  KeyHandle k = this->Make("\\Doomed");
  ASSERT_TRUE(reg.Set(k, "v", RegValue::Dword(1)));
  ASSERT_TRUE(reg.DeleteKey(Root::HKCU, this->base + "\\Doomed"));
  EXPECT_FALSE(reg.Query(k, "v"));
  EXPECT_FALSE(reg.Set(k, "v", RegValue::Dword(2)));
  reg.Close(k);
}

// Wine's HKCR is HKLM\Software\Classes itself, and so is the memory
// registry's; Windows XP shows HKCU\Software\Classes merged over it per user.
TYPED_TEST(RegistryContract, HkcrIsHklmSoftwareClassesAsOnWineNotXpPerUserMerge) {
  auto& reg = *this->reg;
  KeyHandle k = reg.Create(Root::HKCR, this->classes + "\\shell");
  ASSERT_NE(k, 0u);
  ASSERT_TRUE(reg.Set(k, "", RegValue::Text("via HKCR")));
  reg.Close(k);
  KeyHandle m = reg.Open(Root::HKLM, "SOFTWARE\\Classes\\" + this->classes + "\\Shell", kKeyAllAccess);
  ASSERT_NE(m, 0u);
  EXPECT_EQ(reg.Query(m, "")->TextOf(), "via HKCR");
  reg.Close(m);
}

#ifdef _WIN32
LONG WINAPI RefuseSet(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

TEST(Win32Registry, AFailingSystemCallIsAFailedWrite) {
  Win32Registry reg;
  reg.api.setValue = RefuseSet;
  std::string path = "Software\\SuiteTest\\" + ScratchName();
  KeyHandle k = reg.Create(Root::HKCU, path);
  ASSERT_NE(k, 0u);
  EXPECT_FALSE(reg.Set(k, "v", RegValue::Dword(1)));
  EXPECT_FALSE(reg.Query(k, "v"));
  reg.Close(k);
  EXPECT_TRUE(reg.DeleteKey(Root::HKCU, path));
  reg.DeleteKey(Root::HKCU, "Software\\SuiteTest");
}
#endif

// What only the memory registry can play: an account without administrator
// rights on HKLM, and a refused write.
TEST(MemoryRegistry, AccountWithoutRightsReadsButCannotWrite) {
  MemoryRegistry reg;
  KeyHandle k = reg.Create(Root::HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  ASSERT_TRUE(reg.Set(k, "ProductId", RegValue::Text("55274-640")));
  reg.Close(k);
  reg.DenyWrite(Root::HKLM, "");
  EXPECT_EQ(reg.Open(Root::HKLM, "Software\\Microsoft\\Windows NT\\CurrentVersion", kKeyAllAccess), 0u);
  KeyHandle ro = reg.Open(Root::HKLM, "Software\\Microsoft\\Windows NT\\CurrentVersion", kKeyReadTest);
  ASSERT_NE(ro, 0u);
  EXPECT_EQ(reg.Query(ro, "productid")->TextOf(), "55274-640");
  EXPECT_FALSE(reg.Set(ro, "ProductId", RegValue::Text("x")));
  reg.Close(ro);
  EXPECT_EQ(reg.Create(Root::HKLM, "Software\\New"), 0u);
  EXPECT_EQ(reg.Create(Root::HKCR, "txtfile"), 0u) << "HKCR lies inside HKLM";
  EXPECT_FALSE(reg.DeleteKey(Root::HKLM, "Software\\Microsoft\\Windows NT\\CurrentVersion"));
  KeyHandle user = reg.Create(Root::HKCU, "Software\\Mine");
  EXPECT_NE(user, 0u) << "the user's own tree stays writable";
  reg.Close(user);
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST(MemoryRegistry, FailNextSetRefusesOneWriteOnce) {
  MemoryRegistry reg;
  reg.FailNextSet(Root::HKCU, "Software\\A", "v");
  KeyHandle k = reg.Create(Root::HKCU, "software\\a");
  EXPECT_TRUE(reg.Set(k, "other", RegValue::Dword(1)));
  EXPECT_FALSE(reg.Set(k, "V", RegValue::Dword(1)));
  EXPECT_FALSE(reg.Query(k, "v"));
  EXPECT_TRUE(reg.Set(k, "v", RegValue::Dword(1)));
  reg.Close(k);
}

}  // namespace
