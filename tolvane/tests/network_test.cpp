// The network page on the memory ports, with a prepared network class key
// and TCP/IP interfaces: the adapter mirror and list, the MTU slots, the
// receive window, the time to live, the path-MTU switches, the connection
// limits of the browser page that apply writes with them, the standard
// values, and the mended faults (numbers TCP/IP refuses, the up-down and its
// edit showing one value, at most 51 adapters, no adapter at all). Then the
// mirror on the start-up road: its write comes before the gates.
#include "tolvane/tests/machine.h"
#include "tolvane/tests/network_ie_fixture.h"

using namespace tolvane;
using namespace tolvane::test;
using port::RegValue;
using port::Root;

namespace {

// Two mirrored adapters with interfaces, one adapter without an identifier,
// one with an empty description, and an interface of no adapter.
void TwoAdapters(PageTool& p) {
  p.Adapter("0000", "{A1}", "Adapter A");
  p.Adapter("0001", "", "Ghost");
  p.Adapter("0002", "{B2}", "");
  p.Adapter("0003", "{C3}", "Adapter C");
  p.Interface("{A1}", 1454);
  p.Interface("{B2}", 1400);
  p.Interface("{C3}");
  p.Interface("{D4}", 1300);
}

}  // namespace

TEST(NetworkPage, MirrorsTheAdaptersAndListsTheInterfacesThatHaveADescription) {
  PageTool p;
  TwoAdapters(p);
  p.PutText(Root::HKLM, std::string(kMirror) + "\\{D4}", "DriverDesc", "Removed adapter");  // an older start's
  p.Start();
  NetworkPage& n = *p.network;

  EXPECT_EQ(p.Text(Root::HKLM, std::string(kMirror) + "\\{A1}", "DriverDesc"), "Adapter A");
  EXPECT_EQ(p.Text(Root::HKLM, std::string(kMirror) + "\\NULL", "DriverDesc"), "Ghost");
  EXPECT_EQ(p.Text(Root::HKLM, std::string(kMirror) + "\\{B2}", "DriverDesc"), "");
  EXPECT_EQ(p.Text(Root::HKLM, std::string(kMirror) + "\\{D4}", "DriverDesc"), "Removed adapter");  // never deleted
  EXPECT_EQ(n.lbAdapterID.Items, (std::vector<std::string>{"{A1}", "{C3}", "{D4}"}));
  EXPECT_EQ(n.cbAdapterID.Items, (std::vector<std::string>{"Adapter A", "Adapter C", "Removed adapter"}));
  EXPECT_EQ(n.cbAdapterID.ItemIndex(), 0);
  EXPECT_EQ(n.AdapterMtu[0], 1454);
  EXPECT_EQ(n.AdapterMtu[1], 1500);
  EXPECT_EQ(n.AdapterMtu[2], 1300);
  EXPECT_EQ(n.edMTU.Text(), "1454");
  EXPECT_FALSE(n.cbDisableMTU.Checked());
  EXPECT_TRUE(n.edMTU.Enabled());
  EXPECT_EQ(n.DefaultMssValue, 1414);

  // The second adapter holds the default: the box is ticked, the edit off.
  n.cbAdapterID.UserSelect(1);
  EXPECT_EQ(n.edMTU.Text(), "1500");
  EXPECT_TRUE(n.cbDisableMTU.Checked());
  EXPECT_FALSE(n.edMTU.Enabled());
  EXPECT_EQ(n.edMTU.GetColor(), ui::clMenu);

  // Unchanged, apply keeps every MTU and asks for nothing.
  p.Apply();
  EXPECT_FALSE(p.flags.needRestart);
  EXPECT_EQ(p.Mtu("{A1}"), RegValue::Dword(1454));
  EXPECT_EQ(p.Mtu("{B2}"), RegValue::Dword(1400));  // not listed: not touched
  EXPECT_FALSE(p.Mtu("{C3}"));
  EXPECT_EQ(p.Mtu("{D4}"), RegValue::Dword(1300));
}

TEST(NetworkPage, EachSlotIsWrittenAndTheDefaultDeletesTheValue) {
  PageTool p;
  TwoAdapters(p);
  p.Delete(Root::HKLM, std::string(kInterfaces) + "\\{A1}", "MTU");  // the first adapter at the default
  p.Start();
  NetworkPage& n = *p.network;
  EXPECT_EQ(n.edMTU.Text(), "");  // the default of the first adapter shows nothing
  EXPECT_TRUE(n.cbDisableMTU.Checked());
  n.cbDisableMTU.Click();
  EXPECT_EQ(n.edMTU.Text(), "1500") << "unticked, the edit shows the number apply would take";
  EXPECT_TRUE(p.Apply());
  EXPECT_TRUE(p.Boxes().empty());
  n.cbDisableMTU.Click();
  n.cbAdapterID.UserSelect(1);
  n.cbAdapterID.UserSelect(0);
  EXPECT_EQ(n.edMTU.Text(), "1500");

  n.cbDisableMTU.Click();
  n.edMTU.UserType("576");
  n.edMTU.UserExit();  // the user leaves the edit for the list
  EXPECT_EQ(n.DefaultMssValue, 536);
  n.cbAdapterID.UserSelect(1);
  n.cbDisableMTU.Click();
  n.edMTU.UserType("1492");
  n.edMTU.UserType("1500");  // typed, still the default
  EXPECT_GT(p.applyEnabled, 0);
  p.Apply();
  EXPECT_EQ(p.Mtu("{A1}"), RegValue::Dword(576));
  EXPECT_FALSE(p.Mtu("{C3}"));
  EXPECT_EQ(p.Mtu("{D4}"), RegValue::Dword(1300));  // no adapter of it mirrored
  EXPECT_TRUE(p.flags.needRestart);

  // What was applied is the loaded state; ticking the box back to the
  // default deletes the value at the next apply.
  p.FinishApply();
  p.Apply();
  EXPECT_FALSE(p.flags.needRestart);
  n.cbAdapterID.UserSelect(0);
  n.cbDisableMTU.Click();
  EXPECT_EQ(n.AdapterMtu[0], 1500);
  p.Apply();
  EXPECT_FALSE(p.Mtu("{A1}"));
  EXPECT_TRUE(p.flags.needRestart);
}

// Every numeric edit of the network and browser pages, over a stored value
// that no case types: what apply writes after a typed text, once when the
// user leaves the edit before Apply and once when Apply comes straight
// after the typing. A refused text (a warning naming the field and its
// range) leaves the edit showing the stored number; Apply refused straight
// after the typing writes nothing at all.
TEST(NetworkPage, ANumberIsTakenFromTheWholeTextOrRefused) {
  struct Field {
    const char* edit;
    port::Root root;
    std::string key;
    const char* value;
    uint32_t stored;
    const char* range;  // as the warning names it
  };
  const Field fields[] = {
      {"edMTU", Root::HKLM, std::string(kInterfaces) + "\\{A1}", "MTU", 1400, "MTUには 68 から 65535 まで"},
      {"edTcpWindowSize", Root::HKLM, kTcpip, "TcpWindowSize", 20000, "(RWIN)には 1 から 1073741823 まで"},
      {"edDefaultTTL", Root::HKLM, kTcpip, "DefaultTTL", 64, "TTLには 1 から 255 まで"},
      {"edMaxConnectionsPerServer11", Root::HKCU, kInternetSettings, "MaxConnectionsPerServer", 6,
       "HTTP 1.1 サーバーへのコネクション数には 2 から 16 まで"},
      {"edMaxConnectionsPerServer10", Root::HKCU, kInternetSettings, "MaxConnectionsPer1_0Server", 6,
       "HTTP 1.0 サーバーへのコネクション数には 4 から 16 まで"},
  };
  enum { MTU, RWIN, TTL, HTTP11, HTTP10 };
  struct Case {
    int field;
    const char* typed;
    std::optional<uint32_t> written;  // nothing: refused
  };
  const Case cases[] = {
      {MTU, "576", 576},     {MTU, "68", 68},         {MTU, "65535", 65535}, {MTU, "+1454", 1454},
      {MTU, "67", {}},       {MTU, "65536", {}},      {MTU, "70000", {}},    {MTU, "-5", {}},
      {MTU, "abc", {}},      {MTU, "", {}},           {MTU, "14 54", {}},
      {RWIN, "1", 1},        {RWIN, "1073741823", 1073741823},               {RWIN, "0", {}},
      {RWIN, "2000000000", {}}, {RWIN, "99999999999", {}}, {RWIN, "8k", {}}, {RWIN, "", {}},
      {TTL, "1", 1},         {TTL, "255", 255},       {TTL, "0064", 64},     {TTL, "300", {}},
      {TTL, "256", {}},      {TTL, "0", {}},          {TTL, "12w", {}},      {TTL, "", {}},
      {HTTP11, "2", 2},      {HTTP11, "16", 16},      {HTTP11, "20", {}},    {HTTP11, "1", {}},
      {HTTP11, "x", {}},     {HTTP11, "", {}},
      {HTTP10, "4", 4},      {HTTP10, "16", 16},      {HTTP10, "3", {}},     {HTTP10, "17", {}},
      {HTTP10, "4.5", {}},   {HTTP10, "", {}},
  };
  for (const Case& c : cases)
    for (bool leave : {true, false}) {
      const Field& f = fields[c.field];
      SCOPED_TRACE(std::string(f.edit) + " \"" + c.typed + "\"" + (leave ? " left" : " applied"));
      PageTool p;
      p.Adapter("0000", "{A1}", "Adapter A");
      p.Interface("{A1}", 1400);
      p.PutDword(Root::HKLM, kTcpip, "TcpWindowSize", 20000);
      p.PutDword(Root::HKLM, kTcpip, "DefaultTTL", 64);
      p.PutDword(Root::HKCU, kInternetSettings, "MaxConnectionsPerServer", 6);
      p.PutDword(Root::HKCU, kInternetSettings, "MaxConnectionsPer1_0Server", 6);
      p.Start();
      auto& edit = p.form.Get<ui::Edit>(f.edit);
      ASSERT_EQ(edit.Text(), std::to_string(f.stored));
      edit.UserType(c.typed);
      EXPECT_GT(p.applyEnabled, 0) << "typing enables Apply";
      if (leave) edit.UserExit();
      const bool applied = p.Apply();
      if (c.written) {
        EXPECT_TRUE(applied);
        EXPECT_TRUE(p.Boxes().empty());
        EXPECT_EQ(edit.Text(), std::to_string(*c.written)) << "the edit shows the number taken";
        EXPECT_EQ(p.Get(f.root, f.key, f.value), RegValue::Dword(*c.written));
        EXPECT_EQ(p.flags.needRestart, *c.written != f.stored);
        continue;
      }
      ASSERT_EQ(p.Boxes().size(), 1u);
      EXPECT_NE(p.Boxes()[0].text.find(f.range), std::string::npos) << p.Boxes()[0].text;
      EXPECT_EQ(p.Boxes()[0].icon, port::MbIcon::Warning);
      EXPECT_EQ(p.Boxes()[0].caption, "");
      EXPECT_EQ(edit.Text(), std::to_string(f.stored)) << "the edit shows the number it holds again";
      EXPECT_EQ(applied, leave) << "Apply straight after a refused text writes nothing";
      EXPECT_EQ(p.Get(f.root, f.key, f.value), RegValue::Dword(f.stored));
      EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "Tcp1323Opts")) << "no window scaling for a refused window";
      EXPECT_FALSE(p.flags.needRestart);
    }
}

TEST(NetworkPage, TheRefusalSpeaksTheSystemsLanguageAndADisabledEditIsNotRead) {
  PageTool p(1033);
  p.PutDword(Root::HKLM, kTcpip, "DefaultTTL", 64);
  p.Start();
  NetworkPage& n = *p.network;
  n.edDefaultTTL.UserType("300");
  n.edDefaultTTL.UserExit();
  ASSERT_EQ(p.Boxes().size(), 1u);
  EXPECT_EQ(p.Boxes()[0].text, "Enter a number from 1 to 255 for Time To Live (TTL).");

  // Behind its ticked default box the edit's text is not used: apply deletes
  // the value and asks nothing about the text.
  n.edDefaultTTL.UserType("x");
  n.cbDisableDefaultTTL.Click();
  n.edDefaultTTL.UserExit();
  EXPECT_TRUE(p.Apply());
  EXPECT_EQ(p.Boxes().size(), 1u);
  EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "DefaultTTL"));
}

TEST(NetworkPage, NoAdapterListedChangesNoSlot) {
  PageTool p;
  p.Adapter("0000", "{A1}", "");
  p.Interface("{A1}", 1400);
  p.Interface("{Z9}", 1300);
  p.Start();
  NetworkPage& n = *p.network;
  EXPECT_EQ(n.cbAdapterID.Items.Count(), 0);
  EXPECT_TRUE(n.cbDisableMTU.Checked());
  n.cbDisableMTU.Click();
  n.edMTU.UserType("576");
  n.cbDisableMTU.Click();
  n.cbAdapterID.UserSelect(0);
  for (int32_t slot : n.AdapterMtu) EXPECT_EQ(slot, 1500);
  EXPECT_EQ(n.DefaultMssValue, 1460);
  p.Apply();
  EXPECT_EQ(p.Mtu("{A1}"), RegValue::Dword(1400));
  EXPECT_EQ(p.Mtu("{Z9}"), RegValue::Dword(1300));
  EXPECT_FALSE(p.flags.needRestart);
}

TEST(NetworkPage, AtMostFiftyOneAdaptersAreListed) {
  PageTool p;
  for (int i = 0; i < 60; ++i) {
    char id[16];
    std::snprintf(id, sizeof id, "{%02d}", i);
    p.Adapter(id, id, std::string("Adapter ") + id);
    p.Interface(id, 1000 + i);
  }
  p.Start();
  NetworkPage& n = *p.network;
  ASSERT_EQ(n.lbAdapterID.Items.Count(), 51);
  EXPECT_EQ(n.cbAdapterID.Items.Count(), 51);
  EXPECT_EQ(n.AdapterMtu[50], 1050);
  n.cbAdapterID.UserSelect(50);
  n.edMTU.UserType("1492");
  p.Apply();
  EXPECT_EQ(p.Mtu("{50}"), RegValue::Dword(1492));
  EXPECT_EQ(p.Mtu("{51}"), RegValue::Dword(1051));
}

TEST(NetworkPage, ReceiveWindowAboveSixteenBitsNeedsWindowScaling) {
  PageTool p;
  p.Start();
  NetworkPage& n = *p.network;
  EXPECT_TRUE(n.cbDisableTcpWindowSize.Checked());  // absent: the default
  EXPECT_FALSE(n.edTcpWindowSize.Enabled());
  EXPECT_EQ(n.edTcpWindowSize.Text(), "8760");
  p.Apply();
  EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "TcpWindowSize"));
  EXPECT_FALSE(p.flags.needRestart);

  n.cbDisableTcpWindowSize.Click();
  EXPECT_TRUE(n.edTcpWindowSize.Enabled());
  EXPECT_EQ(n.edTcpWindowSize.GetColor(), ui::clWindow);
  n.edTcpWindowSize.UserType("65535");
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "TcpWindowSize"), RegValue::Dword(65535));
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "GlobalMaxTcpWindowSize"), RegValue::Dword(65535));
  EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "Tcp1323Opts"));
  EXPECT_TRUE(p.flags.needRestart);

  p.FinishApply();
  n.edTcpWindowSize.UserType("65536");
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "Tcp1323Opts"), RegValue::Dword(1));
  p.FinishApply();
  n.edTcpWindowSize.UserType("32768");
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "TcpWindowSize"), RegValue::Dword(32768));
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "Tcp1323Opts"), RegValue::Dword(1));  // stays

  p.FinishApply();
  n.cbDisableTcpWindowSize.Click();
  p.Apply();
  for (const char* name : {"TcpWindowSize", "GlobalMaxTcpWindowSize", "Tcp1323Opts"})
    EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, name)) << name;
  EXPECT_TRUE(p.flags.needRestart);
}

TEST(NetworkPage, TimeToLiveIsDeletedAtTheDefaultAndWrittenOtherwise) {
  PageTool p;
  p.PutDword(Root::HKLM, kTcpip, "DefaultTTL", 64);
  p.Start();
  NetworkPage& n = *p.network;
  EXPECT_FALSE(n.cbDisableDefaultTTL.Checked());
  EXPECT_EQ(n.udDefaultTTL.Position(), 64);
  EXPECT_EQ(n.edDefaultTTL.Text(), "64");
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "DefaultTTL"), RegValue::Dword(64));
  EXPECT_FALSE(p.flags.needRestart);

  // The up-down moves in steps of 16; where it moves to is what apply writes.
  n.udDefaultTTL.UserStep(ui::UpDownButton::Up);
  EXPECT_EQ(n.DefaultTtlValue, 80);
  EXPECT_GT(p.applyEnabled, 0);
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "DefaultTTL"), RegValue::Dword(80));
  EXPECT_TRUE(p.flags.needRestart);

  p.FinishApply();
  n.cbDisableDefaultTTL.Click();
  EXPECT_FALSE(n.udDefaultTTL.Enabled());
  EXPECT_FALSE(n.edDefaultTTL.Enabled());
  p.Apply();
  EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "DefaultTTL"));
  EXPECT_TRUE(p.flags.needRestart);
}

TEST(NetworkPage, TheTimeToLiveEditAndItsUpDownShowOneValue) {
  PageTool p;
  p.PutDword(Root::HKLM, kTcpip, "DefaultTTL", 64);
  p.Start();
  NetworkPage& n = *p.network;
  // Each keystroke of "200" passes through "2" and "20": none of them is taken.
  for (const char* typed : {"2", "20", "200"}) n.edDefaultTTL.UserType(typed);
  EXPECT_EQ(n.udDefaultTTL.Position(), 64);
  n.edDefaultTTL.UserExit();
  EXPECT_EQ(n.udDefaultTTL.Position(), 200);
  EXPECT_EQ(n.DefaultTtlValue, 200);

  // "300" passes through "30": refused as a whole, the edit shows 200 again.
  for (const char* typed : {"3", "30", "300"}) n.edDefaultTTL.UserType(typed);
  n.edDefaultTTL.UserExit();
  EXPECT_EQ(n.edDefaultTTL.Text(), "200");
  EXPECT_EQ(n.udDefaultTTL.Position(), 200);
  EXPECT_TRUE(p.Apply());
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "DefaultTTL"), RegValue::Dword(200));

  // Stepping down ends at 1, the least time to live TCP/IP takes.
  n.edDefaultTTL.UserType("16");
  n.edDefaultTTL.UserExit();
  n.udDefaultTTL.UserStep(ui::UpDownButton::Down);
  EXPECT_EQ(n.udDefaultTTL.Position(), 1);
  EXPECT_EQ(n.DefaultTtlValue, 1);
}

TEST(NetworkPage, AStoredTimeToLiveTcpIpRefusesReadsAsTheDefault) {
  for (uint32_t stored : {0u, 256u, 300u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(stored);
    PageTool p;
    p.PutDword(Root::HKLM, kTcpip, "DefaultTTL", stored);
    p.Start();
    EXPECT_EQ(p.network->DefaultTtlValue, 128);
    EXPECT_EQ(p.network->udDefaultTTL.Position(), 128);
    EXPECT_TRUE(p.network->cbDisableDefaultTTL.Checked());
    p.Apply();
    EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "DefaultTTL"));
  }
}

TEST(NetworkPage, PolicyAndPathMtuBoxes) {
  PageTool p;
  p.PutDword(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network", "NoEntireNetwork", 1);
  p.Start();
  NetworkPage& n = *p.network;
  EXPECT_TRUE(n.cbNoEntireNetwork.Checked());
  EXPECT_FALSE(n.cbEnablePMTUBHDetect.Checked());
  EXPECT_TRUE(n.cbEnablePMTUDiscovery.Checked());  // absent: on
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "EnablePMTUBHDetect"), RegValue::Dword(0));
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "EnablePMTUDiscovery"), RegValue::Dword(1));
  EXPECT_EQ(p.Get(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network",
                  "NoWorkgroupContents"),
            RegValue::Dword(0));
  EXPECT_FALSE(p.flags.needRestart || p.flags.needLogoff);

  struct Case {
    ui::CheckBox* box;
    bool restart, logoff;
  };
  for (const Case& c : {Case{&n.cbEnablePMTUBHDetect, true, false}, Case{&n.cbEnablePMTUDiscovery, true, false},
                        Case{&n.cbNoNetHood, false, true}, Case{&n.cbNoWorkgroupContents, false, false}}) {
    SCOPED_TRACE(c.box->Name());
    p.FinishApply();
    c.box->Click();
    p.Apply();
    EXPECT_EQ(p.flags.needRestart, c.restart);
    EXPECT_EQ(p.flags.needLogoff, c.logoff);
  }
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "EnablePMTUBHDetect"), RegValue::Dword(1));
  EXPECT_EQ(p.Get(Root::HKLM, kTcpip, "EnablePMTUDiscovery"), RegValue::Dword(0));
}

TEST(NetworkPage, ConnectionLimitsFollowTheirUpDowns) {
  PageTool p;
  p.PutDword(Root::HKCU, kInternetSettings, "MaxConnectionsPerServer", 100);
  p.Start();
  IEPages& ie = *p.ie;
  EXPECT_EQ(ie.udMaxConnectionsPerServer11.Position(), 16);  // within its range
  EXPECT_EQ(ie.udMaxConnectionsPerServer10.Position(), 4);   // absent
  EXPECT_EQ(ie.edMaxConnectionsPerServer10.Text(), "4");
  p.Apply();
  EXPECT_FALSE(p.flags.needRestart);  // the loaded value is the position read back
  EXPECT_EQ(p.Get(Root::HKCU, kInternetSettings, "MaxConnectionsPerServer"), RegValue::Dword(16));
  EXPECT_EQ(p.Get(Root::HKCU, kInternetSettings, "MaxConnectionsPer1_0Server"), RegValue::Dword(4));

  // A number typed into the edit moves the up-down when the user leaves it.
  ie.edMaxConnectionsPerServer11.UserType("8");
  EXPECT_EQ(p.applyEnabled, 1);
  ie.edMaxConnectionsPerServer11.UserExit();
  EXPECT_EQ(ie.udMaxConnectionsPerServer11.Position(), 8);
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKCU, kInternetSettings, "MaxConnectionsPerServer"), RegValue::Dword(8));
  EXPECT_TRUE(p.flags.needRestart);

  p.FinishApply();
  ie.udMaxConnectionsPerServer10.UserStep(ui::UpDownButton::Up);
  p.Apply();
  EXPECT_EQ(p.Get(Root::HKCU, kInternetSettings, "MaxConnectionsPer1_0Server"), RegValue::Dword(5));
  EXPECT_TRUE(p.flags.needRestart);
}

TEST(NetworkPage, StandardValuesChangeOnlyTheControls) {
  PageTool p;
  TwoAdapters(p);
  p.PutDword(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoNetHood", 1);
  p.PutDword(Root::HKLM, kTcpip, "TcpWindowSize", 65536);
  p.PutDword(Root::HKLM, kTcpip, "DefaultTTL", 32);
  p.PutDword(Root::HKLM, kTcpip, "EnablePMTUDiscovery", 0);
  p.PutDword(Root::HKCU, kInternetSettings, "MaxConnectionsPerServer", 10);
  p.Start();
  NetworkPage& n = *p.network;
  n.cbAdapterID.UserSelect(1);
  p.applyEnabled = 0;
  p.Standard();

  EXPECT_FALSE(n.cbNoNetHood.Checked());
  for (int32_t slot : n.AdapterMtu) EXPECT_EQ(slot, 1500);
  EXPECT_TRUE(n.cbDisableMTU.Checked());
  EXPECT_EQ(n.edMTU.Text(), "1500");
  EXPECT_EQ(n.DefaultMssValue, 1460);
  EXPECT_TRUE(n.cbDisableTcpWindowSize.Checked());
  EXPECT_EQ(n.TcpWindowSizeValue, 8760);
  EXPECT_EQ(n.edTcpWindowSize.Text(), "8760");
  EXPECT_TRUE(n.cbDisableDefaultTTL.Checked());
  EXPECT_EQ(n.DefaultTtlValue, 128);
  EXPECT_EQ(n.edDefaultTTL.Text(), "128");
  EXPECT_FALSE(n.cbEnablePMTUBHDetect.Checked());
  EXPECT_TRUE(n.cbEnablePMTUDiscovery.Checked());
  EXPECT_EQ(p.ie->udMaxConnectionsPerServer11.Position(), 2);
  EXPECT_GT(p.applyEnabled, 0);
  EXPECT_EQ(p.Mtu("{A1}"), RegValue::Dword(1454));  // nothing written yet

  p.Apply();
  EXPECT_FALSE(p.Mtu("{A1}"));
  EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "TcpWindowSize"));
  EXPECT_FALSE(p.Get(Root::HKLM, kTcpip, "DefaultTTL"));
  EXPECT_EQ(p.Get(Root::HKCU, kInternetSettings, "MaxConnectionsPerServer"), RegValue::Dword(2));
  EXPECT_TRUE(p.flags.needRestart);
  EXPECT_TRUE(p.flags.needLogoff);
}

// --- The start-up and apply roads -------------------------------------------

TEST(NetworkRoads, TheMirroredAdapterIsListedAndAnMtuChangeAsksForARestart) {
  Machine m;
  m.PutString(Root::HKLM, std::string(kAdapterClass) + "\\0001", "NetCfgInstanceId", "{A1}");
  m.PutString(Root::HKLM, std::string(kAdapterClass) + "\\0001", "DriverDesc", "Adapter A");
  m.PutDword(Root::HKLM, std::string(kInterfaces) + "\\{A1}", "MTU", 1454);
  m.Start();
  ASSERT_FALSE(m.app->IsTerminated());
  EXPECT_EQ(m.Text(Root::HKLM, std::string(kMirror) + "\\{A1}", "DriverDesc"), "Adapter A");
  auto& edMTU = m.main->Get<ui::Edit>("edMTU");
  EXPECT_EQ(edMTU.Text(), "1454");
  EXPECT_FALSE(m.main->sbPlay.Enabled());

  m.app->Dispatch(&edMTU, [&edMTU] { edMTU.UserType("1500"); });
  EXPECT_TRUE(m.main->sbPlay.Enabled());
  m.dialogs.Script(port::MbResult::No);
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("再起動"), std::string::npos);
  EXPECT_FALSE(m.Get(Root::HKLM, std::string(kInterfaces) + "\\{A1}", "MTU"));
  EXPECT_TRUE(m.shutdown.Requests().empty());
}

// On the main window: Apply with a refused number writes nothing at all (not
// even the window's own place) and shows the page of the edit; the standard
// values replace a typed text that was never taken.
TEST(NetworkRoads, ARefusedNumberStopsApplyBeforeAnyWriteAndGivesWayToTheStandardValues) {
  Machine m;
  m.PutDword(Root::HKLM, kTcpip, "DefaultTTL", 64);
  m.Start();
  TfoMain& w = *m.main;
  auto& edTTL = w.Get<ui::Edit>("edDefaultTTL");
  w.PageControl.SetActivePageIndex(0);
  m.app->Dispatch(&edTTL, [&edTTL] { edTTL.UserType("300"); });
  ASSERT_TRUE(w.sbPlay.Enabled());
  m.dialogs.ClearCalls();
  m.Apply();
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("TTLには 1 から 255 まで"), std::string::npos);
  EXPECT_EQ(&w.PageControl.Page(w.PageControl.ActivePageIndex()), &w.tsNetwork);
  EXPECT_EQ(edTTL.Text(), "64");
  EXPECT_FALSE(m.Get(Root::HKLM, "Software\\Tazet\\Tolvane", "Top")) << "nothing of the apply was written";
  EXPECT_EQ(m.Dword(Root::HKLM, kTcpip, "DefaultTTL"), 64u);
  EXPECT_TRUE(w.sbPlay.Enabled()) << "the changes are still to apply";

  m.app->Dispatch(&edTTL, [&edTTL] { edTTL.UserType("99"); });
  m.Click(w.sbStandard);
  EXPECT_EQ(edTTL.Text(), "128");
  m.app->Dispatch(&edTTL, [&edTTL] { edTTL.UserType("128x"); });
  m.Click(w.sbStandard);  // the position stays 128: the edit is set all the same
  EXPECT_EQ(edTTL.Text(), "128");
}

TEST(NetworkRoads, ARefusedMirrorWriteEndsTheProgramBeforeTheGates) {
  for (bool adapter : {true, false}) {
    SCOPED_TRACE(adapter ? "an adapter to mirror" : "nothing to mirror");
    Machine m;
    m.registry.DenyWrite(Root::HKLM, kNtVersion);  // no administrator
    m.registry.DenyWrite(Root::HKLM, kSuiteKey);
    if (adapter) m.PutString(Root::HKLM, std::string(kAdapterClass) + "\\0000", "DriverDesc", "Adapter A");
    m.Start();
    ASSERT_EQ(m.Boxes().size(), 1u);
    EXPECT_TRUE(m.app->IsTerminated());
    if (adapter) {
      EXPECT_EQ(m.Boxes()[0].caption, "Exception Error");
      EXPECT_FALSE(m.Get(Root::HKLM, std::string(kMirror) + "\\NULL", "DriverDesc"));
    } else {
      EXPECT_NE(m.Boxes()[0].text.find("Administrator"), std::string::npos);  // gate 2
    }
  }
}
